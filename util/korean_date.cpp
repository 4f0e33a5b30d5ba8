#include "util/korean_date.h"

#include <string.h>

#include "util/number_text.h"

// Code-page-949 bytes of the unit characters and marks.
static const char kYear[] = "\xB3\xE2";
static const char kMonth[] = "\xBF\xF9";
static const char kDay[] = "\xC0\xCF";
static const char kHour[] = "\xBD\xC3";
static const char kMinute[] = "\xBA\xD0";
static const char kSecond[] = "\xC3\xCA";
static const char kMilliseconds[] = "ms";
static const char kMorning[] = "[\xBF\xC0\xC0\xFC]";
static const char kAfternoon[] = "[\xBF\xC0\xC8\xC4]";
// Sunday to Friday; any other value is Saturday.
static const char* const kWeekdays[] = {"(\xC0\xCF)", "(\xBF\xF9)", "(\xC8\xAD)", "(\xBC\xF6)",
                                        "(\xB8\xF1)", "(\xB1\xDD)", "(\xC5\xE4)"};

static uint32_t Put(char* out, const char* text) {
    uint32_t n = static_cast<uint32_t>(strlen(text));
    memcpy(out, text, n);
    return n;
}

static uint32_t PutNumber(char* out, uint16_t value, const char* unit) {
    uint32_t n = NumberToText(value, out, 0);
    return n + Put(out + n, unit);
}

static uint16_t TwelveHour(uint16_t hour) {
    if (hour == 0) return 12;
    return hour > 12 ? static_cast<uint16_t>(hour - 12) : hour;
}

uint32_t FormatKoreanDate(const TimeRecord* time, char* buffer, uint32_t flags) {
    uint32_t n = 0;
    if (flags & kDateYear) n += PutNumber(buffer + n, time->year, kYear);
    if (flags & kDateMonth) n += PutNumber(buffer + n, time->month, kMonth);
    if (flags & kDateDay) n += PutNumber(buffer + n, time->day, kDay);
    if (flags & kDateWeekday) n += Put(buffer + n, kWeekdays[time->dayOfWeek < 6 ? time->dayOfWeek : 6]);
    if (flags & kDateHalfDay) n += Put(buffer + n, time->hour < 12 ? kMorning : kAfternoon);
    if (flags & kDateHour) {
        uint16_t hour = (flags & kDateTwelveHour) ? TwelveHour(time->hour) : time->hour;
        n += PutNumber(buffer + n, hour, kHour);
    }
    if (flags & kDateMinute) n += PutNumber(buffer + n, time->minute, kMinute);
    if (flags & kDateSecond) n += PutNumber(buffer + n, time->second, kSecond);
    if (flags & kDateMilliseconds) n += PutNumber(buffer + n, time->milliseconds, kMilliseconds);
    buffer[n] = 0;
    return n;
}
