#include "bodyguard_fixture.h"

#include <algorithm>

#include "roster/roster.h"

std::int32_t BodyguardTest::PlaceBodyguard(int slot, int health, float dx) {
    standin::World& w = World();
    const standin::Vec3 at = w.PlayerPed().pos;
    const std::int32_t ped = w.SpawnPed(w.HashName("A_M_M_ValCowpoke_01"), {at.x + dx, at.y, at.z});
    standin::Ped& p = *w.FindPed(ped);
    p.health = p.maxHealth = health;
    p.group = w.player.group;
    p.relationshipGroup = w.player.relationshipGroup;
    p.scriptOwned = true;

    standin::Prompt help;
    help.handle = w.nextPromptHandle++;
    help.text = "Help";
    help.registrationEnded = true;
    w.prompts[help.handle] = help;

    roster[slot].ped = ped;
    roster[slot].modelCategory = 0;
    roster[slot].modelIndex = 0;
    roster[slot].helpPrompt = help.handle;
    return ped;
}

std::int32_t BodyguardTest::SpawnStranger() {
    standin::World& w = World();
    const standin::Vec3 at = w.PlayerPed().pos;
    return w.SpawnPed(w.HashName("A_M_M_RANCHER_01"), {at.x, at.y + 20.0f, at.z});
}

bool BodyguardTest::PromptActive(std::int32_t prompt) {
    const standin::Prompt* p = World().FindPrompt(prompt);
    return p && !p->deleted && p->enabled && p->visible;
}

std::vector<const standin::Call*> BodyguardTest::GameCalls(std::size_t mark, const char* name) {
    std::vector<const standin::Call*> out;
    for (const standin::Call* c : Log().Since(mark, name)) {
        if (c->hash != 0) out.push_back(c);
    }
    return out;
}

int BodyguardTest::IndexOf(std::size_t mark, const char* name, int from) {
    const std::vector<const standin::Call*> calls = GameCalls(mark);
    for (int i = from; i < static_cast<int>(calls.size()); ++i) {
        if (calls[i]->Is(name)) return i;
    }
    return -1;
}

int BodyguardTest::IndexOfOn(std::size_t mark, const char* name, std::int32_t handle, int from) {
    const std::vector<const standin::Call*> calls = GameCalls(mark);
    for (int i = from; i < static_cast<int>(calls.size()); ++i) {
        if (calls[i]->Is(name) && !calls[i]->args.empty() && calls[i]->I(0) == handle) return i;
    }
    return -1;
}

bool BodyguardTest::RunUntilDownedChecks(int slot, int count, int maxFrames) {
    return standin::RunUntil([&] { return roster[slot].downedChecks >= count; }, maxFrames);
}

std::int32_t Handle(const standin::Call* call, std::size_t arg) {
    return call->I(arg);
}
