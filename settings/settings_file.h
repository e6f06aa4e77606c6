// The settings file component: one group/key document at a time, read from a
// file, changed in memory and written back whole when it is closed.
#pragma once

#include <windows.h>

#include <string>

#include "settings/settings_document.h"

class SettingsFile {
public:
    SettingsFile() = default;
    ~SettingsFile();
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    // Starts an empty document that replaces any file at the path when it is
    // closed. When the file cannot be made, every operation up to the next
    // Create or Open does nothing.
    void Create(const std::string& path);

    // Reads the existing file into a document. While the document is open
    // other programs may read the file but not write it. A file that can only
    // be read gives a read-only document, whose changes are dropped.
    bool Open(const std::string& path);

    bool SelectGroup(const std::string& name);
    void AddComment(const std::string& text);
    void WriteKey(const std::string& key, const std::string& value);
    std::string ReadKey(const std::string& key, const std::string& fallback) const;

    // Writes a changed, writable document back and forgets it: through a
    // temporary file that replaces the file, or, for a link or when that way
    // fails, over the file in place. An unchanged document writes nothing, so
    // the file keeps its modification time. Returns false only when changed
    // text could be written neither way.
    bool Close();

    bool IsOpen() const { return open_; }
    bool IsReadOnly() const { return readOnly_; }

private:
    bool WriteBack(const std::string& text);
    void ReleaseFile();

    std::string path_;
    HANDLE file_ = INVALID_HANDLE_VALUE;         // the file itself, held while an opened document lives
    HANDLE replacement_ = INVALID_HANDLE_VALUE;  // the temporary file a created document is written into
    bool open_ = false;
    bool readOnly_ = false;
    SettingsDocument document_;
};

// Reads the whole of a file that is only to be read, the way a settings file
// is opened for reading: other programs may go on reading it, or writing it
// when nothing else lets us in, and a file larger than a settings file may be
// is refused (ERROR_FILE_TOO_LARGE). On failure the system's error code is
// left as the last error.
bool ReadFileOnly(const std::string& path, std::string* bytes);

// The whole file through a handle open for reading, from where its pointer
// stands; false, with ERROR_FILE_TOO_LARGE as the last error, for a file
// over the 16 MB the program reads.
bool ReadWholeFile(HANDLE file, std::string* bytes);
