#include "dump/json_text.h"

namespace json {

void AppendString(std::string& out, std::string_view utf8) {
    static constexpr char kHex[] = "0123456789abcdef";
    out.push_back('"');
    // Runs of characters that need no escape go in whole.
    std::size_t from = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c != '"' && c != '\\' && static_cast<unsigned char>(c) >= 0x20) continue;
        out.append(utf8.substr(from, i - from));
        from = i + 1;
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
            default: {
                const char escaped[] = {'\\', 'u', '0', '0', kHex[(c >> 4) & 0xF], kHex[c & 0xF]};
                out.append(escaped, sizeof escaped);
            }
        }
    }
    out.append(utf8.substr(from));
    out.push_back('"');
}

QByteArray String(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    std::string out;
    out.reserve(static_cast<std::size_t>(utf8.size()) + 2);
    AppendString(out, std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    return QByteArray::fromStdString(out);
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
