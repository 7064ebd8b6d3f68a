#include "world.h"

#include <cctype>
#include <unordered_set>

#include "catalog/catalog.h"

namespace standin {

namespace {
World* theWorld = nullptr;
}

World& GetWorld() {
    if (!theWorld) ResetWorld();
    return *theWorld;
}

void ResetWorld() {
    delete theWorld;
    theWorld = new World();
    World& w = *theWorld;
    w.player.relationshipGroup = static_cast<std::int32_t>(GameHash("PLAYER"));
    Ped& player = w.peds[w.player.ped];
    player.handle = w.player.ped;
    player.model = GameHash("player_zero");
    player.isPlayer = true;
    player.health = player.maxHealth = 600;
    player.pos = {-300.0f, 790.0f, 117.0f};
    player.relationshipGroup = w.player.relationshipGroup;
    player.group = w.player.group;
    player.promptGroup = static_cast<std::int32_t>(0x80000000u | 1u);
}

std::uint32_t GameHash(const char* name) {
    std::uint32_t h = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(name); *p; ++p) {
        h += static_cast<std::uint32_t>(std::tolower(*p));
        h += h << 10;
        h ^= h >> 6;
    }
    h += h << 3;
    h ^= h >> 11;
    h += h << 15;
    return h;
}

void World::AdvanceClocks() {
    const std::uint32_t step = static_cast<std::uint32_t>(frameMs);
    ++frame;
    timeMs += frameMs;
    gameTimer = static_cast<std::int32_t>(static_cast<std::uint32_t>(gameTimer) + step);
    tickCount += step + tickCountLeapMs;
    menuTimer = static_cast<std::int32_t>(static_cast<std::uint32_t>(menuTimer) + step);
}

std::int32_t World::SpawnPed(std::uint32_t model, Vec3 pos) {
    Ped& p = peds[nextPedHandle];
    p.handle = nextPedHandle++;
    p.model = model;
    p.pos = pos;
    p.promptGroup = static_cast<std::int32_t>(0x80000000u | static_cast<std::uint32_t>(p.handle));
    auto oc = outfitCounts.find(model);
    p.outfitCount = oc == outfitCounts.end() ? 20 : oc->second;
    return p.handle;
}

std::uint32_t World::HashName(const std::string& name) {
    const std::uint32_t h = GameHash(name.c_str());
    hashNames.emplace(h, name);
    return h;
}

std::string World::NameOfHash(std::uint32_t hash) const {
    auto it = hashNames.find(hash);
    return it == hashNames.end() ? std::string() : it->second;
}

bool World::KnownModel(std::uint32_t hash) const {
    static const std::unordered_set<std::uint32_t> catalogue = [] {
        std::unordered_set<std::uint32_t> hashes;
        for (const ModelList& list :
             {ModelList{maleModelNames, MALE_MODEL_COUNT}, ModelList{femaleModelNames, FEMALE_MODEL_COUNT},
              ModelList{gangModelNames, GANG_MODEL_COUNT}, ModelList{allModelNames, ALL_MODEL_COUNT}}) {
            for (int i = 0; i < list.count; ++i) hashes.insert(GameHash(list.names[i]));
        }
        return hashes;
    }();
    if (catalogue.count(hash)) return true;
    for (const std::string& name : extraModels) {
        if (GameHash(name.c_str()) == hash) return true;
    }
    return false;
}

void World::SetHealth(Ped& p, int health) {
    const bool dies = health <= 0 && !p.dead;
    p.health = health > 0 ? health : 0;
    p.dead = health <= 0;
    if (dies) EndFights(p.handle);
}

void World::Damage(std::int32_t handle, int amount) {
    Ped* p = FindPed(handle);
    if (p && !p->dead) SetHealth(*p, p->health - amount);
}

bool World::InCombat(std::int32_t ped) const {
    auto live = [this](std::int32_t h) {
        auto it = peds.find(h);
        return it != peds.end() && it->second.exists && !it->second.dead ? &it->second : nullptr;
    };
    const Ped* p = live(ped);
    if (p == nullptr) return false;
    if (p->combatTarget != 0 && live(p->combatTarget)) return true;
    for (const auto& [h, other] : peds) {
        if (other.combatTarget == ped && live(h)) return true;
    }
    return false;
}

void World::StartFight(std::int32_t attacker, std::int32_t target) {
    if (Ped* p = FindPed(attacker)) {
        p->combatTarget = target;
        p->scenario = 0;
    }
}

void World::EndFights(std::int32_t ped) {
    for (auto& [h, p] : peds) {
        if (h == ped || p.combatTarget == ped) p.combatTarget = 0;
    }
}

bool World::CompletePrompt(std::int32_t handle) {
    Prompt* p = FindPrompt(handle);
    if (!p || p->deleted || !p->enabled || !p->visible) return false;
    p->completedFrame = frame + 1;
    return true;
}

int World::NextRandom(int min, int max) {
    if (!scriptedRandom.empty()) {
        const int v = scriptedRandom.front();
        scriptedRandom.pop_front();
        return v;
    }
    if (max <= min) return min;
    const std::uint32_t span = static_cast<std::uint32_t>(max) - static_cast<std::uint32_t>(min);
    return static_cast<int>(static_cast<std::uint32_t>(min) + rng() % span);
}

std::vector<const Ped*> World::PedsInNamedSet(const std::string& set) const {
    std::vector<const Ped*> out;
    for (const auto& [h, p] : peds) {
        if (p.namedSets.count(set)) out.push_back(&p);
    }
    return out;
}

}  // namespace standin
