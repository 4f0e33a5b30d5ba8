// The SDL backend's Yes/No question (PlatformMessageBox) and the choice of its button labels.
#pragma once

// True when the session's language of messages is Korean: the first of LC_ALL, LC_MESSAGES and LANG that is
// set decides, as the C library does. The buttons then read 예 / 아니오, otherwise Yes / No.
bool KoreanSession(const char* lcAll, const char* lcMessages, const char* lang);
