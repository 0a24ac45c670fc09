#pragma once
// Path rules of export files. Paths are split at the last "/" or "\", so that
// the paths of projects written on Windows keep working.

#include <string>
#include <string_view>

namespace tarvo {

// Everything up to and including the last separator; "" when there is none.
std::string PathFolderPart(std::string_view path);
// Everything after the last separator (the whole path when there is none).
std::string PathFileNamePart(std::string_view path);
// The path with the extension of its file-name part replaced: cut at the last
// "." of the file name when there is one, then append extension (".h").
// A "." in a folder name is not an extension.
std::string ReplaceExtension(std::string_view path, std::string_view extension);
// True when the lower-cased path ends with ".c" or ".cpp": the source files of
// the C and C++ formats, which get a header written beside them.
bool IsCSourcePath(std::string_view path);
// The header guard of a header file name: "_" G "_", G being the name in upper
// case with "." and every other character that cannot stand in an identifier
// replaced by "_" (iir_filter.h gives _IIR_FILTER_H_).
std::string HeaderGuardName(std::string_view headerFileName);
// True for a path the writer may write to: absolute ("/..."), without "\".
// Paths of projects written on Windows ("C:\Filters\iir.cpp", "iir.cpp")
// would otherwise land relative to whatever the current folder is.
bool IsLocalAbsolutePath(std::string_view path);
// folder + "/" + fileName, without doubling a separator that folder ends with;
// fileName alone for an empty folder.
std::string JoinPath(std::string_view folder, std::string_view fileName);
// The user's documents folder for new export files: $HOME, or the current
// directory when there is no home.
std::string DefaultDocumentsFolder();

} // namespace tarvo
