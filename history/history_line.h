// One line of the history file: tab-separated fields ending in CR LF, the
// first the local date and time, the second the id of the run it belongs to,
// the third what kind of event it records, the last a check of the line's
// own bytes. Composed and taken apart here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The text as a field: trailing CR and LF dropped (system texts end with
// them), a tab, CR or LF inside turned into a blank.
std::string HistoryField(std::string text);

// The local date and time now, as "2026-12-07 16:30:05".
std::string HistoryTimeNow();

// A whole line: time, run id, then the fields, each cleaned, then the check
// and CR LF.
std::string HistoryLineText(const std::string& time, const std::string& runId,
                            const std::vector<std::string>& fields);

// The line's text (without tab, check or line end) framed as a whole line: a
// tab, the CRC-32 of the text's bytes as eight upper-case hex digits, CR LF.
std::string HistoryFramed(std::string text);

// The same line made in one text, field by field, as a sort makes two lines
// per file: begun with the time and the run id, each field added after a
// tab (the two texts as one field, cleaned as HistoryField cleans it; a
// number in decimal), then framed in place.
void HistoryLineBegin(std::string& line, const std::string& time, const std::string& runId);
void HistoryLineAdd(std::string& line, std::string_view text, std::string_view more = std::string_view());
void HistoryLineAddNumber(std::string& line, unsigned long long number);
void HistoryLineFrame(std::string& line);

// The text of a line read back (its line end dropped) when it ends with a tab
// and the check of the bytes before them; false for anything else: a line cut
// short, edited, run together with another, or written without a check. Its
// fields are never read then.
bool HistoryLineBody(std::string_view line, std::string_view* body);

// The fields of one line without its line end, in place into fields (its
// earlier content dropped). The views point into line.
void HistorySplitFields(std::string_view line, std::vector<std::string_view>* fields);

// Whether the text has the shape of a line's time field.
bool HistoryIsTime(std::string_view text);

// A whole decimal number of up to 20 digits; false for anything else.
bool HistoryNumber(std::string_view text, unsigned long long* value);
