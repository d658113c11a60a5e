// The main window's commands that show the entry and option dialogs, and what the list does after them.
#pragma once

class CommandHost;

namespace dialog_commands {

void AddEntry(CommandHost& host);    // 12
void EditEntry(CommandHost& host);   // 13
void Options(CommandHost& host);     // 22
void DateMacros(CommandHost& host);  // 24

}  // namespace dialog_commands
