#include "roster/loadout.h"

#include "catalog/catalog.h"
#include "game/natives.h"

namespace {

void GiveWeapon(std::int32_t ped, std::uint32_t weapon, std::int32_t a, std::int32_t b, std::int32_t place) {
    GiveWeaponToPed(ped, weapon, a, b, place);
    SetPedWeaponFlag(ped, 1, weapon);
}

}  // namespace

void GiveSidearm(std::int32_t ped, int row, std::int32_t place) {
    GiveWeapon(ped, sidearmHashes[row], 0, 1, place);
}

void GiveLongarm(std::int32_t ped, int row, std::int32_t place) {
    GiveWeapon(ped, longarmHashes[row], 1, 0, place);
}

void RemoveSidearm(std::int32_t ped, int row) {
    if (row != 0 && IsSidearmRow(row)) RemoveWeaponFromPed(ped, sidearmHashes[row], 1, 0);
}

void RemoveLongarm(std::int32_t ped, int row) {
    if (row != 0 && IsLongarmRow(row)) RemoveWeaponFromPed(ped, longarmHashes[row], 1, 0);
}
