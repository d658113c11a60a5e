// Exported date and time parsing and the date range check.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// "YYYY?MM?DD" into year, month, day (each digit taken by its low four bits, the separators not
// looked at). A shorter text counts its missing digits as 0. Returns the position after the text
// read: text + 10, or the end of a shorter text.
LPCSTR WINAPI GetStrToDate(LPCSTR text, int date[3]);
// "hh?mm?ss" into hour, minute, second; returns text + 8 or the end of a shorter text.
LPCSTR WINAPI GetStrToTime(LPCSTR text, int time[3]);
// "YYYYMMDDhhmmss" read as Japan Standard Time (UTC+9): seconds since 1970-01-01 00:00:00 UTC.
// A leap year is any year divisible by 4 (right for 1970 to 2099); months past 12 run on into
// the following years.
double WINAPI DLTime(LPCSTR text);
// 1 when now lies between first 00:00:00 and last 23:59:59 (both "YYYYMMDD", UTC+9), inclusive.
int WINAPI CheckDateArea(LPCSTR first, LPCSTR last);

#ifdef __cplusplus
}
#endif
