#include "character/show/TvShowCommands.h"

#include <cstdlib>

#include "engine/console/ConsoleObject.h"
#include "engine/scene/Transform.h"

bool HandleTvShowCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args,
                         CTransform* tv) {
    if (IsWord(command, "pos")) {
        if (args.size() < 3) {
            out << "zaplenu pos x y z\n";
            return true;
        }
        if (tv)
            tv->SetTranslation(float(atof(args[0].c_str())), float(atof(args[1].c_str())),
                               float(atof(args[2].c_str())));
        return true;
    }
    if (IsWord(command, "print")) {
        float x = 0, y = 0, z = 0;
        if (tv) {
            x = tv->GetChannelValue(CTransform::TC_TRANSLATION_X);
            y = tv->GetChannelValue(CTransform::TC_TRANSLATION_Y);
            z = tv->GetChannelValue(CTransform::TC_TRANSLATION_Z);
        }
        out << "Zaplenu:\n";
        out << "  pos(" << x << ", " << y << ", " << z << ")\n" << std::flush;
        return true;
    }
    return false;
}
