// Model lists 0 to 2 and the catalogue of all five lists. Every list is constant
// data in the image, so the catalogue is complete before any code of the plug-in
// runs and no model name ever lives on the heap.
#include "catalog/catalog.h"

// Bodyguards for hire: townsfolk, guards, cowpokes and gang members. This list is
// also the pool of the random hire, so S_M_M_UniTrainGuards_01, which stands at
// rows 4 and 36, comes up twice as often as any other model.
constexpr const char* maleModelNames[MALE_MODEL_COUNT] = {
    "A_M_M_UniCoachGuards_01",          // 0
    "S_M_M_COACHTAXIDRIVER_01",         // 1
    "S_M_M_RACRAILGUARDS_01",           // 2
    "S_M_M_STRCOWPOKE_01",              // 3
    "S_M_M_UniTrainGuards_01",          // 4
    "A_M_M_BiVFancyDRIVERS_01",         // 5
    "A_M_M_BiVRoughTravellers_01",      // 6
    "A_M_M_BynFancyDRIVERS_01",         // 7
    "A_M_M_BynSurvivalist_01",          // 8
    "A_M_M_GRIFANCYDRIVERS_01",         // 9
    "A_M_M_GriRoughTravellers_01",      // 10
    "A_M_M_GriSurvivalist_01",          // 11
    "A_M_M_HtlFancyDRIVERS_01",         // 12
    "A_M_M_HtlRoughTravellers_01",      // 13
    "A_M_M_HtlSurvivalist_01",          // 14
    "A_M_M_huntertravelers_cool_01",    // 15
    "A_M_M_HUNTERTRAVELERS_WARM_01",    // 16
    "A_M_M_JamesonGuard_01",            // 17
    "A_M_M_NEAROUGHTRAVELLERS_01",      // 18
    "A_M_M_RANCHER_01",                 // 19
    "A_M_M_RkrFancyDRIVERS_01",         // 20
    "A_M_M_RkrRoughTravellers_01",      // 21
    "A_M_M_RkrSurvivalist_01",          // 22
    "A_M_M_SclRoughTravellers_01",      // 23
    "A_M_M_SDROUGHTRAVELLERS_01",       // 24
    "A_M_M_UniGunslinger_01",           // 25
    "A_M_M_ValTownfolk_02",             // 26
    "A_M_M_VhtThug_01",                 // 27
    "S_M_M_ASBCowpoke_01",              // 28
    "S_M_M_BLWCOWPOKE_01",              // 29
    "S_M_M_CornwallGuard_01",           // 30
    "S_M_M_HOFGuard_01",                // 31
    "S_M_M_MicGuard_01",                // 32
    "S_M_M_ORPGUARD_01",                // 33
    "S_M_M_RHDCOWPOKE_01",              // 34
    "S_M_M_SDCOWPOKE_01",               // 35
    "S_M_M_UniTrainGuards_01",          // 36
    "S_M_M_ValBankGuards_01",           // 37
    "S_M_M_ValCowpoke_01",              // 38
    "A_M_M_VhtTownfolk_01",             // 39
    "A_M_M_SclFancyDRIVERS_01",         // 40
    "A_M_M_BynRoughTravellers_01",      // 41
    "G_M_M_UniAfricanAmericanGang_01",  // 42
    "G_M_M_UniCriminals_01",            // 43
    "G_M_M_UniCriminals_02",            // 44
    "G_M_M_UNILANGSTONBOYS_01",         // 45
    "G_M_M_UNIMICAHGOONS_01",           // 46
    "G_M_M_UniInbred_01",               // 47
    "G_M_O_UniExConfeds_01",            // 48
    "G_M_Y_UniExConfeds_01",            // 49
    "G_M_Y_UniExConfeds_02",            // 50
    "G_M_M_UniDuster_01",               // 51
    "G_M_M_UniDuster_02",               // 52
    "G_M_M_UniDuster_03",               // 53
    "G_M_M_UniDuster_04",               // 54
    "G_M_M_UniDuster_05",               // 55
    "g_m_m_unimountainmen_01",          // 56
    "G_M_M_UniBanditos_01",             // 57
    "G_M_M_UniBraithwaites_01",         // 58
    "G_M_M_UniBronteGoons_01",          // 59
    "G_M_M_UniCornwallGoons_01",        // 60
    "G_M_M_UniRanchers_01",             // 61
    "G_M_M_UNISWAMP_01",                // 62
    "G_M_M_UniGrays_01",                // 63
    "G_M_M_UniGrays_02",                // 64
};

constexpr const char* femaleModelNames[FEMALE_MODEL_COUNT] = {
    "A_F_M_ROUGHTRAVELLERS_01",
};

// The gang members, in the row order of gangMemberNames and gangLoadouts.
constexpr const char* gangModelNames[GANG_MODEL_COUNT] = {
    "Player_Zero",        // 0
    "CS_dutch",           // 1
    "CS_abigailroberts",  // 2
    "CS_billwilliamson",  // 3
    "CS_charlessmith",    // 4
    "CS_hoseamatthews",   // 5
    "CS_javierescuella",  // 6
    "Player_Three",       // 7
    "CS_josiahtrelawny",  // 8
    "CS_karen",           // 9
    "CS_kieran",          // 10
    "CS_lenny",           // 11
    "CS_leostrauss",      // 12
    "CS_marybeth",        // 13
    "CS_mrsadler",        // 14
    "CS_MicahBell",       // 15
    "CS_mollyoshea",      // 16
    "CS_sean",            // 17
    "CS_mrpearson",       // 18
    "CS_susangrimshaw",   // 19
    "CS_tilly",           // 20
    "CS_uncle",           // 21
};

// Writable because list 4 is set once at startup from the custom ped list; the
// initial value is a constant expression, so the table sits in static data and
// needs no initialiser code.
ModelList modelCatalogue[CATEGORY_COUNT] = {
    {maleModelNames, MALE_MODEL_COUNT},
    {femaleModelNames, FEMALE_MODEL_COUNT},
    {gangModelNames, GANG_MODEL_COUNT},
    {allModelNames, ALL_MODEL_COUNT},
    {nullptr, 0},
};
