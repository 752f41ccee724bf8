// Trace library of the platform (namespace NSQX_util). Declarations only: the
// real library, or the stand-in in platform/standin, defines them.
#pragma once

#include <string>

namespace NSQX_util {

// One value of a trace record. An int renders signed, an unsigned long
// unsigned.
class QXString {
public:
    QXString(int value);
    QXString(unsigned long value);

    bool isSigned() const;
    unsigned long bits() const;

private:
    unsigned long m_ulBits;
    bool m_bSigned;
};

int QXTrace2Str(unsigned int level, std::string& out, const char* text);
int QXTrace2Str(unsigned int level, std::string& out, const std::string& format,
                const QXString& v1);
int QXTrace2Str(unsigned int level, std::string& out, const std::string& format, const QXString& v1,
                const QXString& v2);
int QXTrace2Str(unsigned int level, std::string& out, const std::string& format, const QXString& v1,
                const QXString& v2, const QXString& v3);
int QXTrace2LogFile(const std::string& module, int type, const std::string& text);

}  // namespace NSQX_util
