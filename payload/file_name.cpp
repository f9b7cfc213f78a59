#include "payload/file_name.h"

#include <string.h>
#include <windows.h>

#include "common/code_page_text.h"

namespace {

void LowerAscii(char* text) {
    for (; *text; ++text)
        if (*text >= 'A' && *text <= 'Z') *text = static_cast<char>(*text - 'A' + 'a');
}

void RemoveAt(char* text, int at, int count) {
    memmove(text + at, text + at + count, strlen(text + at + count) + 1);
}

}  // namespace

char* MapPayloadFileName(char* name) {
    LowerAscii(name);
    name[0] = UpperChar(name[0]);
    for (int i = 0; i + 1 < static_cast<int>(strlen(name)); ++i) {
        if (name[i] == '_' && name[i + 1] == '_') {
            RemoveAt(name, i, 2);
            name[i] = UpperChar(name[i]);
            if (name[i] == '\0') break;
        }
        if (name[i] == '_') name[i] = ' ';
        if (name[i] == ':') {
            RemoveAt(name, i, 1);
            continue;
        }
        if (!IsCharAlphaA(name[i]) && name[i] != '\'' && name[i] != '.' && name[i] != '8')
            name[i + 1] = UpperChar(name[i + 1]);
    }
    return name;
}
