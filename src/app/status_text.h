// The four status bar texts of the selected log entry: file name, size, date and time.
#pragma once
#include <string>

#include "loglist/date_macros.h"
#include "loglist/log_entry.h"

struct StatusTexts {
    std::string file;
    std::string size;
    std::string date;
    std::string time;
};

StatusTexts FormatStatusTexts(const LogEntry& entry, const DateMacroTexts& macros);
