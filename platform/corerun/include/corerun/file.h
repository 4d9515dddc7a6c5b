// Base library: local file specifications. Paths are the host's (Windows)
// paths: "\" and "/" both separate a directory from a name.
#pragma once

// What CFI_get_file_type answers for a path.
constexpr int CFI_FILE_TYPE_FILE = 1;       // names a file (or nothing yet)
constexpr int CFI_FILE_TYPE_DIRECTORY = 2;  // ends in a separator

int CFI_get_file_type(const char* path);
// The directory part (with its last separator) and the name part of a path
// of that type, each in SM_alloc memory the caller frees with SM_free; a
// directory has an empty name. 0, or -1 (both null) for a null path.
int CFI_split_filespec(const char* path, int type, char** directory, char** name);
// A file name not used before in this process, in SM_alloc memory the caller
// frees with SM_free.
char* CFI_create_unique_filename();
