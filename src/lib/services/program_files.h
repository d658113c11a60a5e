// The program's own places (its data folder, the default index file, its help file) and the
// programs it starts for the user with a file (the browsers and the editor).
#pragma once
#include <windows.h>

#include <string>

// The full path of the module's file (null: the program's); false, and empty, when it does not fit.
bool ModuleFilePath(HMODULE module, char out[MAX_PATH]);

// The per-user data folder, always ending in a backslash; empty when the local application data
// folder cannot be determined or the joined path would not fit 259 bytes.
void BuildDataFolder(HINSTANCE instance, char out[MAX_PATH]);
// DataFolder followed by "Kelvora.dat"; empty under the same conditions.
void BuildDefaultIndexPath(HINSTANCE instance, char out[MAX_PATH]);
// A path in the data folder for a list that was not read from a file there: the default path,
// or, when a file already lies there, the first free one of Kelvora2.dat, Kelvora3.dat and so on.
// Empty when the data folder is unknown or no name is free.
void FreeIndexPath(HINSTANCE instance, char out[MAX_PATH]);

// The help file beside the program of instance: its folder joined with the help file's name.
void HelpFilePath(HINSTANCE instance, char out[MAX_PATH]);

// A file name as the one parameter of a started program: without quotes of its own, and quoted
// when it holds a blank or a character that cmd.exe treats specially, so that it reaches the
// program as one argument and no part of it is ever run as a command.
std::string ProgramArgument(const char* fileName);
// Starts program (a browser or the editor) with fileName as its one parameter, in the program's
// current folder; false when the system could not start it. Nothing watches it afterwards.
bool StartProgram(HWND owner, const char* program, const char* fileName);
