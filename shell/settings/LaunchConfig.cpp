#include "shell/settings/LaunchConfig.h"

#include <climits>
#include <cstdio>
#include <string>

#include "engine/archive/DataFolder.h"
#include "platform/archive/FileReplace.h"

namespace {

struct CValueRule {
    const char* comment;
    bool checked;
    int32_t lowest;
    int32_t highest;
};

// Comment lines are code page 932, written byte for byte.
const CValueRule VALUE_RULES[LC_COUNT] = {
    {"// "
     "ShaderMode(0:\x83n\x81["
     "\x83h\x83\x45\x83\x46\x83\x41\x82\xaa\x97\x98\x97p\x89\xc2\x94\\\x82\xc5\x82\xa0\x82\xea\x82\xce\x97\x98\x97p\x82"
     "\xb7\x82\xe9 1:\x8f\xed\x82\xc9\x83\\\x83t\x83g\x83\x45\x83\x46\x83\x41\x8e\xc0\x8ds)",
     true, 0, 1},
    {"// WindowConfig(0:640x640 1:800x800 2:1200x1200)", true, 0, 2},
    {"// WindowMode(0:Window&Clip 1:Window 2:Fullscreen)", true, 0, 2},
    {"// TopmostMode(0:Not topmost 1:Topmost)", true, 0, 1},
    {"// FixMode(0:Not fix 1:Fix)", true, 0, 1},
    {"// InitX", false, 0, 0},
    {"// InitY", false, 0, 0},
    {"// SoundMode(0:Off 1:On)", true, 0, 1},
    {"// CameraMode(0:Manual 1:Auto)", true, 0, 1},
    {"// QuillombMode(0:Off 1:On)", true, 0, 1},
    {"// ClearMode(0:Not clear data 1:Clear data)", true, 0, 1},
};

// One physical line, however long: whether it is a comment and the first run
// of decimal digits in it, negative when a minus sign stands right before it
// (any other character before it is skipped; a NUL byte ends the search).
struct CLineScan {
    bool isComment = false;
    bool hasNumber = false;
    bool overflow = false;
    int64_t number = 0;
};

bool ScanLine(FILE* file, CLineScan& scan) {
    enum {
        SEEKING,
        IN_NUMBER,
        DONE
    } state = SEEKING;
    char first[2] = {0, 0};
    long count = 0;
    int c;
    int previous = 0;
    bool negative = false;
    bool any = false;
    scan = CLineScan();
    while ((c = std::getc(file)) != EOF) {
        any = true;
        if (c == '\n')
            break;
        if (count < 2)
            first[count++] = static_cast<char>(c);
        const bool digit = c >= '0' && c <= '9';
        if (state == SEEKING) {
            if (c == 0) {
                state = DONE;
            } else if (digit) {
                state = IN_NUMBER;
                scan.hasNumber = true;
                negative = previous == '-';
                scan.number = c - '0';
            }
        } else if (state == IN_NUMBER) {
            if (!digit) {
                state = DONE;
            } else if (!scan.overflow) {
                scan.number = scan.number * 10 + (c - '0');
                if (scan.number > (negative ? -int64_t(INT32_MIN) : int64_t(INT32_MAX)))
                    scan.overflow = true;
            }
        }
        previous = c;
    }
    if (negative)
        scan.number = -scan.number;
    scan.isComment = count == 2 && first[0] == '/' && first[1] == '/';
    return any;
}

} // namespace

const char* GetLaunchConfigComment(int index) {
    return index >= 0 && index < LC_COUNT ? VALUE_RULES[index].comment : "";
}

bool LoadLaunchConfig(CLaunchConfig& config) {
    const std::string path = DataFilePath(config.fileName);
    FILE* file = std::fopen(path.c_str(), "rt");
    if (!file)
        return false;
    int32_t values[LC_COUNT];
    for (int i = 0; i < LC_COUNT; ++i)
        values[i] = config.values[i];
    int taken = 0;
    bool refused = false;
    CLineScan scan;
    while (ScanLine(file, scan)) {
        if (scan.isComment || !scan.hasNumber)
            continue;
        // Lines past the eleventh value are counted and dropped.
        if (taken < LC_COUNT) {
            if (scan.overflow)
                refused = true;
            else
                values[taken] = static_cast<int32_t>(scan.number);
        }
        ++taken;
    }
    if (std::ferror(file))
        refused = true;
    std::fclose(file);
    for (int i = 0; i < LC_COUNT; ++i) {
        const CValueRule& rule = VALUE_RULES[i];
        if (rule.checked && (values[i] < rule.lowest || values[i] > rule.highest))
            refused = true;
    }
    if (refused)
        return false;
    for (int i = 0; i < LC_COUNT; ++i)
        config.values[i] = values[i];
    return true;
}

bool SaveLaunchConfig(const CLaunchConfig& config) {
    std::string text;
    char number[16];
    for (int i = 0; i < LC_COUNT; ++i) {
        std::snprintf(number, sizeof number, "%d\n", static_cast<int>(config.values[i]));
        text += VALUE_RULES[i].comment;
        text += '\n';
        text += number;
    }
    // Written beside the old file, so a failed write leaves the old settings.
    CReplacingFileWriter writer(DataFilePath(config.fileName).c_str());
    return writer.Open(true) && writer.Write(text.data(), text.size()) && writer.Commit();
}
