// What happened, in words: hires, charges, saves, dismissals, downings,
// revives, deaths, orders and menu changes. Each frame the simulator compares
// the world and the roster before and after the frame and reads the frame's
// game calls; the simulator's own actions (a target, a completed prompt) are
// noted as they are made.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "call_log.h"
#include "roster/roster.h"
#include "workdir.h"

namespace sim {

enum class EventKind {
    Hire,
    Charge,
    Save,
    Dismiss,
    Death,
    Downed,
    Revive,
    Order,
    Menu,
    Player,
    Action,
    Warning
};

struct Event {
    int frame = 0;
    std::int64_t timeMs = 0;
    EventKind kind = EventKind::Action;
    std::string text;
};

class EventLog {
  public:
    static constexpr std::size_t kKept = 2000;

    // Stamped with the world's current frame and time.
    void Add(EventKind kind, const std::string& text);
    const std::deque<Event>& Events() const { return events_; }
    // Events ever added (also those no longer kept).
    std::uint64_t Count() const { return count_; }
    // The events added after the first `count` (as far as they are still kept).
    std::vector<Event> Since(std::uint64_t count) const;

  private:
    std::deque<Event> events_;
    std::uint64_t count_ = 0;
};

// The save file as the file system shows it: a replaced file is a new inode.
struct SaveStamp {
    bool exists = false;
    std::uint64_t inode = 0;
    std::int64_t mtimeNs = 0;
    std::int64_t size = 0;
    bool operator!=(const SaveStamp& o) const {
        return exists != o.exists || inode != o.inode || mtimeNs != o.mtimeNs || size != o.size;
    }
};

// The part of the world and the plug-in that events are read from.
struct WorldSnapshot {
    int menuPage = 0;
    int lastSpawnSlot = -1;
    BodyguardRecord slots[ROSTER_SIZE];
    bool inCombat[ROSTER_SIZE] = {};
    float seeingRange[ROSTER_SIZE] = {};
    bool playerDead = false;
    bool playerInCombat = false;
    int formation = -1;  // the player's group formation as the game holds it (-1: never set)
    SaveStamp save;
    std::size_t staleUses = 0;
};

WorldSnapshot TakeSnapshot();

// The save file's watch: a save starts, meets a problem (with its reason), or
// lands (the save file is whole and new). The problems of a save that does not
// land show in the frame's events.
void NoteSaveStarted();
void NoteSaveProblem(const std::string& what);
void NoteSaveLanded();

// Notes the events of one frame: `before` and `after` are the snapshots around
// it, `calls` the game calls the plug-in made in it.
void NoteFrameEvents(const WorldSnapshot& before, const WorldSnapshot& after,
                     const std::vector<standin::Call>& calls, EventLog& log);

// The menu page's name as the events and the screen show it.
const char* PageName(int page);
// The page a scenario names ("builder", or its number); -100 for none.
int PageOfWord(const std::string& word);

// "$12.50" for 1250 cents.
std::string Dollars(std::int64_t cents);

// A summary of a save file's text: "2 bodyguards, formation Auto".
std::string DescribeSaveFile(const std::string& content);

}  // namespace sim
