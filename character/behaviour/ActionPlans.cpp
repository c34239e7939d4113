// The character's plans: what each action name she can choose is made of,
// where in the room she walks for it and how long she waits. Chance is drawn
// in the order the steps are written.

#include "character/Character.h"
#include "character/item/Item.h"
#include "engine/core/Random.h"

namespace {

// A float rounded in memory, so that the x87 build keeps no wider value than
// the host does between the steps of a computed coordinate.
float Rounded(float v) {
    volatile float r = v;
    return r;
}

// One plan being written: the notation of the plan table.
class PlanWriter {
public:
    PlanWriter(CCharacter& character, std::vector<CActRequest>& plan) : c(character), p(plan) {}

    void A(const char* name) { p.push_back(CActRequest(name)); }
    void A(const char* name, const char* word) { p.push_back(CActRequest(name, word)); }
    // A computed loop count, written "%f".
    void Loops(const char* name, int count) { p.push_back(CActRequest(name, (float)count)); }
    void MoveTo(const char* name, float x, float z) { p.push_back(CActRequest(name, x, z)); }
    // A move to where another action starts.
    void MoveToStart(const char* name, const char* actionName) {
        Vec3 start;
        c.GetActionStart(actionName, start);
        MoveTo(name, start.x, start.z);
    }
    void Blend(int frames) { p.push_back(CActRequest("blend", 0.0f, (float)frames)); }
    void Wait(const char* time) { A("wait", time); }
    void W(float x, float z, bool before, bool after) { c.AddWalk(p, Vec3(x, 0.0f, z), before, after); }
    void S(const char* name, bool before, bool after) {
        WalkToStart(name, before, after);
        A(name);
    }
    void WalkToStart(const char* name, bool before, bool after) {
        c.AddWalkToActionStart(p, CActRequest(name), before, after);
    }
    void R(bool before, bool after) { c.AddRandomWalk(p, before, after); }
    float r() { return RandUnit(); }
    bool Is(const char* name) const { return m_name == name; }

    CCharacter& c;
    std::vector<CActRequest>& p;
    std::string m_name;
};

using PlanFunction = void (*)(PlanWriter& w);

void Stand(PlanWriter& w) { w.A("stand", "10000t"); }

void Dance(PlanWriter& w) {
    w.R(1, 1);
    if (w.r() < 0.2f)
        w.A("monkey", "10000t");
    else
        w.Loops("teijin00", Rand() % 3);
    w.A("stand", "5000t");
}

void Wash(PlanWriter& w) {
    w.R(1, 1);
    w.A("washHands00");
    w.A("washHands01", "15000t");
}

void Hiji(PlanWriter& w) {
    w.A("hiji00");
    w.Wait("5000t");
}

void Hechyo(PlanWriter& w) { w.A("hechyo01"); }

void Senti(PlanWriter& w) {
    w.A(w.r() < 0.7f ? "senti00" : "senti01");
    w.Wait("3000t");
}

void Roll(PlanWriter& w) {
    w.S("roll00", 1, 1);
    const float r = w.r();
    if (r < 0.4f) {
        w.Wait("20000t");
        w.A("roll01");
        w.Wait("5000t");
        w.A("roll03");
        w.Wait("5000t");
        w.A("roll04");
        w.Wait("5000t");
        w.A("roll05");
    } else if (r < 0.8f) {
        w.Wait("5000t");
        w.A("roll01");
        w.Wait("30000t");
        w.A("roll03");
        w.Wait("5000t");
        w.A("roll04");
        w.Wait("5000t");
        w.A("roll05");
    } else {
        w.Wait("5000t");
        w.A("roll04");
        w.Wait("20000t");
        w.A("roll05");
    }
}

void Box(PlanWriter& w) {
    w.R(1, 1);
    w.A("box00");
    w.A("box02", "10");
    if (w.r() < 0.1f) {
        w.A("box03");
        w.A("box02", "3");
    }
    w.A("box01");
}

void Sleep(PlanWriter& w) {
    w.WalkToStart("sleepIn", 1, 1);
    w.Blend(40);
    w.A("sleepIn");
}

void Sleeping(PlanWriter& w) { w.A("sleep", "20000t"); }

// "sleepingmove" and "osageBexla".
void SleepingVariant(PlanWriter& w) {
    const bool move = w.Is("sleepingmove");
    w.A("sleep", "5000t");
    w.A("sleep01");
    const float r = w.r();
    if (move && r >= 0.2f) {
        if (r < 0.6f)
            w.A("sleep03");
        else
            w.A("sleep04", "5");
        w.A("sleep02");
        w.A("sleep", "10000t");
        return;
    }
    w.A("sleepUp00");
    if (move) {
        w.Wait("10000t");
    } else {
        w.A("osageBexlaOn00");
        w.MoveTo("osageBexla00", 250.0f, 100.0f);
        w.MoveTo("osageBexla00", -200.0f, 250.0f);
        w.MoveTo("osageBexla00", -200.0f, -100.0f);
        w.MoveTo("osageBexla00", 250.0f, -100.0f);
        w.MoveToStart("osageBexla00", "osageBexlaOff00");
        w.A("osageBexlaOff00");
    }
    w.A("sleepUp01");
    w.A("sleep02");
    w.A("sleep", "10000t");
}

// "halfsleeping" and "houchou".
void SleepWalkVariant(PlanWriter& w) {
    w.A("sleepOut01");
    w.A("sleepOut05");
    w.A("sleepOut06");
    w.A("sleepOut07");
    w.A("sleepOutL07");
    if (w.Is("houchou")) {
        w.W(150.0f, -150.0f, 1, 0);
        w.W(150.0f, -400.0f, 0, 0);
        w.A("houchouHandle00");
        w.W(150.0f, -150.0f, 0, 0);
        w.R(0, 1);
        w.A("monkeySleep00", "10000t");
        w.R(1, 1);
        w.A("monkeySleep00", "10000t");
        w.W(150.0f, -150.0f, 0, 0);
        w.W(150.0f, -400.0f, 0, 0);
        w.A("houchouRelease00");
        w.W(150.0f, -150.0f, 0, 0);
    } else {
        w.R(1, 0);
        w.W(-150.0f, 100.0f, 0, 0);
        w.R(0, 0);
    }
    w.Blend(50);
    w.S("sleepInSleep00", 0, 1);
    w.A("sleep", "10000t");
}

void Resleep(PlanWriter& w) {
    w.A("sleepOut01");
    w.Wait("10000t");
    w.A("sleepOut02");
    w.A("sleep", "10000t");
}

void Wakeup(PlanWriter& w) {
    w.A("sleepOut01");
    w.Loops("sleepOut03", Rand() % 5);
    w.A("sleepOut05");
    w.A("sleepOut06");
    w.A("sleepOut07");
    w.Loops("sleepOut08", Rand() % 5);
    w.A("sleepOut09");
    w.A("sleepOutL09");
}

// "eat" and "furo": out of the door, then back.
void OutOfRoom(PlanWriter& w) {
    w.S("doorOut00", 1, 1);
    w.A("roomOut", "out");
    w.A("doorIn00");
    if (w.Is("eat")) {
        w.Wait("15000t");
    } else {
        w.Wait("4000t");
        w.A("furo00");
        w.Wait("3000t");
        if (w.r() < 0.5f)
            w.A("furo01");
        w.Wait("5000t");
        if (w.r() < 0.8f)
            w.A("furo02");
        w.Wait("1000t");
        if (w.r() < 0.1f)
            w.A("furo03");
        w.Wait("5000t");
        if (w.r() < 0.5f)
            w.A("furo00");
        w.Wait("3000t");
    }
    w.A("doorOut00");
    w.A("roomOut", "in");
    w.A("doorIn00");
}

void Change(PlanWriter& w) {
    w.W(150.0f, -150.0f, 1, 0);
    w.W(150.0f, -400.0f, 0, 0);
    if (w.c.GetStats().pajama) {
        if (w.r() < 0.8f)
            w.A("changeAcce", "select");
        w.A("changeCloth");
    } else {
        w.A("changeAcce");
        w.A("changeCloth", "pajama");
    }
    w.Wait("10000t");
    w.W(150.0f, -150.0f, 0, 1);
}

// "zaplenu" and "zaplenu_ed": the show on the TV, and for the last item the
// ending with a broken and a new TV.
void Show(PlanWriter& w) {
    w.S("tvDown00", 1, 1);
    w.A("zaplenu");
    if (w.Is("zaplenu")) {
        w.Wait("2000t");
        w.A("tvUp00");
    } else {
        w.Wait("1000t");
        w.A("ending");
        w.Wait("7000t");
        w.A("tvBroken00");
        w.Wait("13000t");
        w.A("tvNew00");
    }
}

void Chair(PlanWriter& w) {
    if (w.r() < 0.5f) {
        w.S("chairDown00", 1, 1);
        if (w.r() < 0.5f) {
            w.A("chair02");
            w.A("chair04", "3");
            w.A("chair03");
        } else {
            w.A("chair01", "6");
            w.A("chair00");
        }
        w.A("chairUp00");
    } else {
        w.S("chairRideOn00", 1, 1);
        w.A("chairRide00");
        const float r2 = w.r();
        if (r2 < 0.5f)
            w.A("chairRide00");
        else if (r2 < 0.7f)
            w.A("chairRide01");
        w.A("chairRideOff00");
    }
}

// "kotatsu" and "papaMakura".
void Kotatsu(PlanWriter& w) {
    w.W(-100.0f, 100.0f, 1, 0);
    w.S("kotatsuIn00", 0, 1);
    const float r = w.r();
    if (w.Is("papaMakura")) {
        w.A("papaMakura00");
        w.A(r < 0.5f ? "papaMakura01" : "papaMakura03");
        w.Wait("5000t");
        w.A("papaMakura02", "30000t");
        w.A("papaMakura04");
    } else if (r < 0.1f) {
        w.Wait("15000t");
    } else if (r < 0.5f) {
        w.A("kotatsu03");
        w.A("kotatsu04", "10000t");
        w.A("kotatsu05");
    } else if (r < 0.8f) {
        w.A("kotatsu06");
        w.Wait("15000t");
        w.A("kotatsu07");
    } else {
        w.Wait("10000t");
        w.A("kotatsu01");
        w.Wait("30000t");
        w.A("kotatsu02");
        w.Wait("10000t");
    }
    w.A("kotatsuOut00");
    w.W(-150.0f, 0.0f, 1, 0);
    w.W(-150.0f, 150.0f, 0, 1);
}

// "milk" and "iceCream": from the refrigerator to the kotatsu.
void Snack(PlanWriter& w) {
    const bool milk = w.Is("milk");
    w.S("reizoukoOn00", 1, 1);
    w.A(milk ? "milkHandle00" : "iceCreamHandle00");
    w.A("reizoukoOn01");
    w.W(-100.0f, 100.0f, 1, 0);
    w.S("eatDown00", 0, 1);
    const float r = w.r();
    if (milk) {
        w.A("milk00");
        w.A("milk01");
        w.A("milk01");
        if (r < 0.5f) {
            w.Wait("2000t");
            w.A("milk01");
        } else {
            w.A("milk02");
        }
        w.A("eatUp00");
        w.A("eaten", "milk");
        w.A("milkRelease00");
    } else {
        w.A("iceCream00");
        w.A("iceCream02");
        w.A("iceCream02");
        w.Wait("3000t");
        w.A("iceCream02");
        if (r < 0.3f)
            w.A("iceCream02");
        w.A("iceCreamRelease00");
        w.Wait("3000t");
        w.A("eaten", "iceCream");
        w.A("eatUp01");
    }
    w.W(-100.0f, 100.0f, 1, 1);
}

void Domohorn(PlanWriter& w) {
    w.S("domohornHandle00", 1, 1);
    w.A("domohornHandleL00");
    w.W(0.0f, 200.0f, 1, 1);
    w.A("monkey", "10");
    w.W(250.0f, 100.0f, 1, 1);
    w.A("monkey", "5");
    w.S("domohornReleaseP00", 1, 1);
    w.A("domohornRelease00");
}

void PunchingBag(PlanWriter& w) {
    if (w.r() < 0.5f) {
        w.S("punchingBagP03", 1, 1);
        w.A("punchingBag03");
        w.Wait("20000t");
        w.A("punchingBag03", "last");
        w.Blend(30);
        w.A("punchingBag05");
    } else {
        w.S("punchingBag04", 1, 1);
        w.Wait("10000t");
    }
}

void BodyBlade(PlanWriter& w) {
    w.S("bodyBladeHandleP01", 1, 1);
    w.A("bodyBladeHandle01");
    w.A("bodyBladeHandleL01");
    w.W(250.0f, 100.0f, 1, 1);
    if (w.r() < 0.3f) {
        w.A("bodyBlade02");
        w.MoveTo("bodyBlade03", 250.0f, -100.0f);
        w.MoveTo("bodyBlade03", -200.0f, -100.0f);
        w.MoveTo("bodyBlade03", -200.0f, 250.0f);
        w.MoveTo("bodyBlade03", 250.0f, 100.0f);
        w.A("bodyBlade04");
    } else {
        w.A("bodyBlade00");
        w.A("bodyBlade01");
        w.W(0.0f, 200.0f, 1, 1);
        w.A("bodyBlade01");
    }
    w.S("bodyBladeReleaseP00", 1, 1);
    w.A("bodyBladeRelease00");
}

void LightSaber(PlanWriter& w) {
    w.S("lightSaberHandle00", 1, 1);
    w.A("lightSaberHandleL00");
    w.W(200.0f, 200.0f, 1, 1);
    w.A("lightSaber00");
    w.A("lightSaber01", "10");
    w.Blend(15);
    w.A("lightSaber02");
    w.Wait("10000t");
    w.A("lightSaber02", "last");
    if (w.r() < 0.5f) {
        w.W(-100.0f, 200.0f, 1, 1);
        w.A("lightSaber02");
        w.Wait("5000t");
        w.A("lightSaber02", "last");
    }
    w.S("lightSaberReleaseP00", 1, 1);
    w.A("lightSaberRelease00");
}

void Segway(PlanWriter& w) {
    if (w.r() < 0.9f) {
        w.S("segwayOn00", 1, 1);
        w.A("segwayOnL00");
        w.A("segwayOnLL00");
        w.Blend(30);
        if (w.r() < 0.7f) {
            w.MoveTo("segway02", -200.0f, 200.0f);
            w.Blend(30);
            w.MoveTo("segway01", 250.0f, 200.0f);
            w.Blend(30);
            w.MoveTo("segway02", -200.0f, 200.0f);
            w.Blend(30);
            w.MoveTo("segway01", 170.0f, 200.0f);
            w.Blend(15);
            w.MoveTo("segway02", 170.0f, -400.0f);
            w.Blend(30);
            w.MoveTo("segway03", 170.0f, 200.0f);
            w.Blend(15);
            w.MoveTo("segway01", -200.0f, 200.0f);
            w.Blend(30);
            w.MoveTo("segway03", 250.0f, 200.0f);
            w.Blend(30);
            w.MoveTo("segway01", 0.0f, 200.0f);
        } else {
            w.MoveTo("segway01", 0.0f, 200.0f);
        }
        w.A("segway04");
        w.A("segway00", "2000t");
        w.Blend(30);
        w.MoveToStart("segway01", "segwayOffPP02");
        w.Blend(10);
        w.A("segwayOffPP02");
        w.A("segwayOffP02");
        w.A("segwayOff02");
    } else {
        w.S("segwayOn01", 1, 1);
        w.A("segwayOnL01");
        w.Blend(20);
        w.MoveTo("segway05", 0.0f, 200.0f);
        w.A("segway06");
        w.Blend(20);
        w.MoveTo("segway05", 350.0f, 250.0f);
        w.Blend(10);
        w.A("segwayOff03");
    }
}

void BodyVac(PlanWriter& w) {
    w.S("bodyVacHandle00", 1, 1);
    w.A("bodyVacHandleL00");
    w.W(310.0f, 30.0f, 1, 0);
    w.S("bodyVac00", 0, 1);
    w.A("bodyVac01");
    w.A("bodyVac01");
    w.A("bodyVac01");
    w.A("bodyVac02");
    w.W(310.0f, 30.0f, 1, 0);
    w.S("bodyVacReleaseP00", 0, 1);
    w.A("bodyVacRelease00");
}

void BodyVibrator(PlanWriter& w) {
    w.S("bodyVibratorOn00", 1, 1);
    w.A("bodyVibrator00", "10");
    w.A("bodyVibrator01", "20");
    w.A("bodyVibrator00", "10");
    if (w.r() < 0.5f)
        w.A("bodyVibrator01", "10");
    w.A("bodyVibratorOff00");
}

void Teleporter(PlanWriter& w) {
    w.S("teleporterHandle00", 1, 1);
    w.A("teleporterHandleL00");
    if (w.r() < 0.7f) {
        w.S("teleporter00", 1, 1);
        w.S("teleporter00", 1, 1);
        w.S("teleporter02", 1, 1);
        w.Wait("5000t");
        w.A("doorIn00");
    } else {
        w.S("teleporter01", 1, 1);
    }
    w.S("teleporterReleaseP00", 1, 1);
    w.A("teleporterRelease00");
}

void Otama(PlanWriter& w) {
    w.W(150.0f, -150.0f, 1, 0);
    w.W(150.0f, -400.0f, 0, 0);
    w.A("otamaHandle00");
    w.A("flypanBHandle00");
    w.W(150.0f, -150.0f, 0, 0);
    w.S("doorOut00", 0, 1);
    w.A("roomOut", "out");
    w.A("doorIn00");
    w.A("roomOut", "out2");
    w.A("roomOut", "in");
    w.A(w.r() < 0.5f ? "otama00" : "otama01");
    w.A(w.r() < 0.5f ? "otama00" : "otama01");
    w.Wait("3000t");
    w.A(w.r() < 0.2f ? "otama00" : "otama01");
    w.Wait("5000t");
    w.A("roomOut", "out");
    w.A("doorOut00");
    w.A("roomOut", "in");
    w.A("doorIn00");
    w.W(150.0f, -150.0f, 1, 0);
    w.W(150.0f, -400.0f, 0, 0);
    w.A("flypanBRelease00");
    w.A("otamaRelease00");
    w.W(150.0f, -150.0f, 0, 1);
}

void Conga(PlanWriter& w) {
    w.S("congaOn00", 1, 1);
    w.A("conga00");
    const float r = w.r();
    if (r < 0.3f) {
        w.Loops("conga02", Rand() % 4 + 10);
    } else if (r < 0.6f) {
        w.Loops("conga05", Rand() % 2 + 2);
        w.Loops("conga01", Rand() % 4 + 7);
    } else {
        w.Loops("conga05", Rand() % 4 + 7);
        w.A("conga06");
    }
    w.A("conga03");
    w.A("congaOff00");
}

void Senpuki(PlanWriter& w) {
    w.S("senpukiOn00", 1, 1);
    w.A("senpuki00");
    if (w.r() < 0.5f)
        w.A("senpuki01");
    w.A("senpukiOff00");
}

struct PlanRow {
    const char* name;
    PlanFunction build;
};

// Action name to plan, in the order names are compared.
const PlanRow PLANS[] = {
    {"stand", Stand},
    {"dance", Dance},
    {"wash", Wash},
    {"hiji", Hiji},
    {"hechyo", Hechyo},
    {"senti", Senti},
    {"roll", Roll},
    {"box", Box},
    {"sleep", Sleep},
    {"sleeping", Sleeping},
    {"sleepingmove", SleepingVariant},
    {"osageBexla", SleepingVariant},
    {"halfsleeping", SleepWalkVariant},
    {"houchou", SleepWalkVariant},
    {"resleep", Resleep},
    {"wakeup", Wakeup},
    {"eat", OutOfRoom},
    {"furo", OutOfRoom},
    {"change", Change},
    {"zaplenu", Show},
    {"zaplenu_ed", Show},
    {"chair", Chair},
    {"kotatsu", Kotatsu},
    {"papaMakura", Kotatsu},
    {"milk", Snack},
    {"iceCream", Snack},
    {"domohornWinkle", Domohorn},
    {"punchingBag", PunchingBag},
    {"bodyBlade", BodyBlade},
    {"lightSaber", LightSaber},
    {"segway", Segway},
    {"bodyVac", BodyVac},
    {"bodyVibrator", BodyVibrator},
    {"teleporter", Teleporter},
    {"otama", Otama},
    {"conga", Conga},
    {"senpuki", Senpuki},
};

} // namespace

void CCharacter::ExpandAction(std::vector<CActRequest>& plan, const std::string& name) {
    plan.clear();
    for (const PlanRow& row : PLANS) {
        if (name == row.name) {
            PlanWriter writer(*this, plan);
            writer.m_name = name;
            row.build(writer);
            return;
        }
    }
}

void CCharacter::AddWalk(std::vector<CActRequest>& plan, const Vec3& target, bool blendBefore, bool blendAfter) {
    if (blendBefore)
        plan.push_back(CActRequest("blend", 0.0f, 30.0f));
    plan.push_back(CActRequest(GetStats().bsl ? "walkSleep00" : "walk", target.x, target.z));
    if (blendAfter)
        plan.push_back(CActRequest("blend", 0.0f, 15.0f));
}

void CCharacter::AddWalkToActionStart(std::vector<CActRequest>& plan, const CActRequest& request, bool blendBefore,
                                      bool blendAfter) {
    Vec3 start;
    if (GetActionStart(request.name, start))
        AddWalk(plan, start, blendBefore, blendAfter);
}

Vec3 CCharacter::AddRandomWalk(std::vector<CActRequest>& plan, bool blendBefore, bool blendAfter) {
    CItem* kotatsu = GetItems().Find("kotatsu");
    Vec3 target;
    if (kotatsu && kotatsu->IsOwned())
        target.x = Rounded(Rounded((float)(Rand() * 200) / 32767.0f) + 100.0f);
    else
        target.x = Rounded(Rounded((float)(Rand() * 500) / 32767.0f) - 200.0f);
    target.z = Rounded(Rounded((float)(Rand() * 150) / 32767.0f) + 100.0f);
    AddWalk(plan, target, blendBefore, blendAfter);
    return target;
}
