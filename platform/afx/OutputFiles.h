// Output files whose maker made them beforehand (a temporary file beside the target, made with
// mkstemps) are written through the descriptor that made them: a writer given such a name never
// opens the name again, so a link put at the name meanwhile cannot send the bytes elsewhere.
// Other names are opened as usual.
#pragma once

#include <cstdio>
#include <string>
#include <system_error>

// Hands the file made at path, open read-write as fd, to the writers given path; its owner
// keeps fd open until ReleaseOutputFile.
void AdoptOutputFile(const std::string& path, int fd);
void ReleaseOutputFile(const std::string& path);
// Whether path names a file adopted so.
bool IsAdoptedOutputFile(const char* path);
// A descriptor of its own (close-on-exec) that writes path from its start, the file emptied:
// the adopted file's, or the file at path created or emptied. -1 with errno set.
int OpenOutputFile(const char* path);
// The same as a stdio stream for writing; null with errno set.
std::FILE* OpenOutputStream(const char* path);
// Removes what a writer that failed left at path; an adopted file is only emptied (its owner
// removes it).
void RemoveOutputFile(const char* path);
// Writes the n bytes at data to path, opened as OpenOutputFile opens it; 0 or an errno value.
int WriteOutputFile(const char* path, const void* data, size_t n);
// Copies the file from into path, opened as OpenOutputFile opens it.
std::error_code CopyIntoOutputFile(const char* from, const char* to);
