#include "lib/date_time.h"

#include <cstdio>
#include <cstring>
#include <ctime>

#include "lib/core/byte_text.h"

namespace {

constexpr long long kDay = 86400;

// Digit i of text by its low four bits; 0 past the end of a short text.
int LowDigit(const char* text, size_t len, size_t i) { return i < len ? text[i] & 0x0F : 0; }

// The len characters at pos as a signed decimal number; 0 for what lies past the end of the text.
long Field(const char* text, size_t textLen, size_t pos, size_t len) {
    if (pos >= textLen) return 0;
    char group[8] = {};
    memcpy(group, text + pos, textLen - pos < len ? textLen - pos : len);
    return bytetext::ParseLong(group);
}

bool IsLeap(long long year) { return year % 4 == 0; }

int MonthDays(long long year, int monthIndex) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return monthIndex == 1 && IsLeap(year) ? 29 : kDays[monthIndex];
}

}  // namespace

extern "C" {

LPCSTR WINAPI GetStrToDate(LPCSTR text, int date[3]) {
    size_t len = strnlen(text, 10);
    date[0] = LowDigit(text, len, 0) * 1000 + LowDigit(text, len, 1) * 100 + LowDigit(text, len, 2) * 10 +
              LowDigit(text, len, 3);
    date[1] = LowDigit(text, len, 5) * 10 + LowDigit(text, len, 6);
    date[2] = LowDigit(text, len, 8) * 10 + LowDigit(text, len, 9);
    return text + len;
}

LPCSTR WINAPI GetStrToTime(LPCSTR text, int time[3]) {
    size_t len = strnlen(text, 8);
    time[0] = LowDigit(text, len, 0) * 10 + LowDigit(text, len, 1);
    time[1] = LowDigit(text, len, 3) * 10 + LowDigit(text, len, 4);
    time[2] = LowDigit(text, len, 6) * 10 + LowDigit(text, len, 7);
    return text + len;
}

double WINAPI DLTime(LPCSTR text) {
    size_t len = strnlen(text, 14);
    long long year = Field(text, len, 0, 4);
    long month = Field(text, len, 4, 2);
    long day = Field(text, len, 6, 2);
    long hour = Field(text, len, 8, 2);
    long minute = Field(text, len, 10, 2);
    long second = Field(text, len, 12, 2);

    long long seconds = 0;
    for (long long y = 1970; y < year; ++y) seconds += (IsLeap(y) ? 366 : 365) * kDay;
    // Months past December run on into the next years instead of reading past the table.
    for (long k = 0; k < month - 1; ++k) seconds += MonthDays(year + k / 12, static_cast<int>(k % 12)) * kDay;
    seconds += (day - 1) * kDay + (hour - 9) * 3600LL + minute * 60LL + second;
    return static_cast<double>(seconds);
}

int WINAPI CheckDateArea(LPCSTR first, LPCSTR last) {
    char from[32];
    char to[32];
    snprintf(from, sizeof from, "%.25s000000", first);
    snprintf(to, sizeof to, "%.25s235959", last);
    double now = static_cast<double>(time(nullptr));
    return now >= DLTime(from) && now <= DLTime(to) ? 1 : 0;
}

}  // extern "C"
