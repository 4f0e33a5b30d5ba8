// The command line recorded at start-up and its tokeniser. Tokens point into the recorded text.
#include "util/dbcs_string.h"

static const char* commandLine = nullptr;

static bool IsSeparator(uint8_t b) {
    return b >= 0x01 && b <= 0x20;
}

void SetCommandLineText(const char* text) {
    commandLine = text;
}

uint32_t TokenizeCommandLine(Token* tokens, uint32_t capacity) {
    if (!commandLine) return 0;
    const uint8_t* p = reinterpret_cast<const uint8_t*>(commandLine);
    uint32_t count = 0;
    while (count < capacity) {
        while (IsSeparator(*p)) p++;
        if (*p == 0) break;
        Token* token = &tokens[count++];
        token->text = reinterpret_cast<const char*>(p);
        token->length = 0;
        bool quoted = false;
        for (; *p != 0 && (quoted || !IsSeparator(*p)); p++, token->length++) {
            if (*p == '"') quoted = !quoted;
        }
    }
    return count;
}
