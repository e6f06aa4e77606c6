// Telling whether a file is a second, separate copy of another one, or the
// same file under another spelling.
#pragma once

#include <windows.h>

#include <string>

// True when copyPath names a file other than originalPath that holds exactly
// the same bytes. False when either is missing, unreadable or a folder, when
// the sizes or any byte differ, and when both paths name one and the same file
// (spelled differently or linked), so that deleting the original after a true
// answer never loses the last copy.
bool IsSeparateIdenticalCopy(const std::string& copyPath, const std::string& originalPath);

// True when the two open files, read from where they stand to their ends,
// hold the same bytes.
bool FilesHoldSameBytes(HANDLE a, HANDLE b);

// True when the two open files are separate files (another file index)
// that hold exactly the same bytes, read from their starts: the question
// IsSeparateIdenticalCopy asks, of files already open and checked.
bool OpenFilesSeparateIdentical(HANDLE copy, HANDLE original);
