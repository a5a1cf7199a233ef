#include "cli/json_text.h"

namespace json {

void AppendString(QByteArray& out, std::string_view utf8) {
    static constexpr char kHex[] = "0123456789abcdef";
    out.append('"');
    for (const char c : utf8) {
        switch (c) {
            case '"':
                out.append("\\\"");
                break;
            case '\\':
                out.append("\\\\");
                break;
            case '\n':
                out.append("\\n");
                break;
            case '\r':
                out.append("\\r");
                break;
            case '\t':
                out.append("\\t");
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    const char escaped[] = {'\\', 'u', '0', '0', kHex[(c >> 4) & 0xF], kHex[c & 0xF]};
                    out.append(escaped, sizeof escaped);
                } else {
                    out.append(c);
                }
        }
    }
    out.append('"');
}

QByteArray String(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    out.reserve(utf8.size() + 2);
    AppendString(out, std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    return out;
}

int LineAt(const QByteArray& bytes, qsizetype offset) {
    return 1 + static_cast<int>(bytes.left(offset).count('\n'));
}

std::vector<int> ObjectLines(const QByteArray& bytes) {
    std::vector<int> lines;
    QByteArray open;  // the containers entered so far
    int line = 1;
    bool inString = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\n') ++line;
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
            continue;
        }
        switch (c) {
            case '"':
                inString = true;
                break;
            case '{':
                if (open == "[" || open == "{[") lines.push_back(line);
                open += c;
                break;
            case '[':
                open += c;
                break;
            case '}':
            case ']':
                open.chop(1);
                break;
            default:
                break;
        }
    }
    return lines;
}

}  // namespace json
