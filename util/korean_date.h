// A date and time written as Korean text in code page 949: numbers followed by their unit characters, the
// weekday in parentheses and the morning/afternoon mark in square brackets.
#pragma once

#include <stdint.h>

// Field for field the platform's SYSTEMTIME.
struct TimeRecord {
    uint16_t year;
    uint16_t month;
    uint16_t dayOfWeek; // 0 Sunday to 6 Saturday
    uint16_t day;
    uint16_t hour;
    uint16_t minute;
    uint16_t second;
    uint16_t milliseconds;
};

// Parts to write; they always come out in the order year, month, day, weekday, mark, hour, minute, second,
// milliseconds, with no separators.
constexpr uint32_t kDateYear = 0x100, kDateMonth = 0x80, kDateDay = 0x40, kDateWeekday = 0x20,
                   kDateHalfDay = 0x10, kDateHour = 0x8, kDateTwelveHour = 0x200, kDateMinute = 0x4,
                   kDateSecond = 0x2, kDateMilliseconds = 0x1;

// The longest text (every part, five-digit numbers) and its zero byte.
constexpr uint32_t kKoreanDateTextSize = 60;

// Writes the chosen parts and a zero byte into buffer, which must hold kKoreanDateTextSize bytes (or the
// longest text the chosen parts can give); returns the bytes before the zero byte.
uint32_t FormatKoreanDate(const TimeRecord* time, char* buffer, uint32_t flags);
