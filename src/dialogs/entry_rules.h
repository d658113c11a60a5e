// The decisions of the entry dialog that need no window: field checks and the browser history.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

constexpr int kBrowserHistoryMax = 10;  // entries offered; more may be stored, never read back

enum class EntryProblem { None, NoLogFile, NoListName, NoBrowser, Comma };

// The first thing that keeps the fields from becoming an entry: an empty log file name, list name
// or browser (in that order), then a comma in any of them, which the index table file cannot hold.
EntryProblem CheckEntryFields(const char* logFileName, const char* listName, const char* browserName);

// True when item begins with prefix; ASCII letters compare without case, double-byte characters
// byte for byte (their second byte is no letter).
bool StartsWithNoCase(const char* item, const char* prefix);

// The item to drop before browser goes to the top: the first one that begins with it, looking at
// the second item to the last first and at the first item last; -1 when none does.
int FindHistoryPrefix(const std::vector<std::string>& items, const char* browser);
// Drops that item and puts browser at the top.
void UpdateHistory(std::vector<std::string>* items, const char* browser);

// BrowserHistory in the registry (key BrowseList, values Browse0, Browse1, ...). Loading stops at
// the first value that cannot be read and after kBrowserHistoryMax values; a key that cannot be
// opened gives an empty history, and saving into it does nothing.
std::vector<std::string> LoadBrowserHistory(HINSTANCE instance);
void SaveBrowserHistory(HINSTANCE instance, const std::vector<std::string>& items);
