// Korean text for tests written in UTF-8 and turned into code page 949 bytes, as the toolkit keeps it.
#pragma once

#include <iconv.h>

#include <string>

inline std::string Cp949(const std::string& utf8) {
    iconv_t convert = iconv_open("CP949", "UTF-8");
    std::string out(utf8.size() * 2 + 1, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size(), outLeft = out.size();
    char* to = out.data();
    iconv(convert, &in, &inLeft, &to, &outLeft);
    iconv_close(convert);
    out.resize(out.size() - outLeft);
    return out;
}
