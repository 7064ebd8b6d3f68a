// The order prompts a targeted bodyguard offers, and the stay and follow orders.
//
// While the player targets a bodyguard it carries five prompts tied to its own
// prompt group: collapsed, only "Show Commands" is active; expanded, "Hide
// Commands", "Dismiss" and one of "Stay Here" / "Follow Me" (they share a
// control, so never both). The prompts are made when the target arrives and
// deleted when it leaves; whether they were expanded is remembered in between.
#include "behaviour/behaviour.h"
#include "game/natives.h"

namespace {

constexpr int ORDER_PROMPT_NUMBER = 11;
constexpr int TOGGLE_PROMPT_NUMBER = 20;

void Activate(std::int32_t prompt) {
    SetPromptActive(prompt, true, true);
}
void Deactivate(std::int32_t prompt) {
    SetPromptActive(prompt, false, false);
}

void CreateOrderPrompts(BodyguardRecord& r) {
    CreateBodyguardPrompt(&r.dismissPrompt, "INPUT_INTERACT_OPTION2", true, r.ped, "Dismiss",
                          ORDER_PROMPT_NUMBER);
    CreateBodyguardPrompt(&r.stayPrompt, "INPUT_INTERACT_OPTION1", true, r.ped, "Stay Here",
                          ORDER_PROMPT_NUMBER);
    CreateBodyguardPrompt(&r.followPrompt, "INPUT_INTERACT_OPTION1", true, r.ped, "Follow Me",
                          ORDER_PROMPT_NUMBER);
    CreateBodyguardPrompt(&r.showCommandsPrompt, "INPUT_CONTEXT_A", true, r.ped, "Show Commands",
                          TOGGLE_PROMPT_NUMBER);
    CreateBodyguardPrompt(&r.hideCommandsPrompt, "INPUT_CONTEXT_A", true, r.ped, "Hide Commands",
                          TOGGLE_PROMPT_NUMBER);
}

// Deletes the five order prompts. Each field is cleared as its prompt goes, so
// the record never holds a handle the game may already have given to another
// prompt, and a later dismissal passes 0 for it.
void DeleteOrderPrompts(BodyguardRecord& r) {
    std::int32_t* const fields[] = {&r.followPrompt, &r.stayPrompt, &r.dismissPrompt, &r.showCommandsPrompt,
                                    &r.hideCommandsPrompt};
    for (std::int32_t* field : fields) {
        PromptDelete(*field);
        *field = 0;
    }
}

// Returns false when the bodyguard was dismissed.
bool ExpandedStep(BodyguardRecord& r) {
    if (PromptHasCompleted(r.hideCommandsPrompt) != 0) {
        // The collapsed prompts take over from the next frame.
        r.commandsShown = false;
        SetPedConfigFlag(r.ped, CONFIG_FLAG_COMMANDS, false);
    }
    Deactivate(r.showCommandsPrompt);
    Activate(r.hideCommandsPrompt);

    if (r.staying) {
        Activate(r.followPrompt);
        Deactivate(r.stayPrompt);
        if (PromptHasCompleted(r.followPrompt) != 0) {
            Deactivate(r.followPrompt);
            OrderFollow(r);
        }
    } else {
        Activate(r.stayPrompt);
        Deactivate(r.followPrompt);
        if (PromptHasCompleted(r.stayPrompt) != 0) {
            Deactivate(r.stayPrompt);
            OrderStay(r);
        }
    }

    if (PromptHasCompleted(r.dismissPrompt) != 0) {
        DismissBodyguard(r);
        return false;
    }
    Activate(r.dismissPrompt);
    return true;
}

void CollapsedStep(BodyguardRecord& r) {
    if (PromptHasCompleted(r.showCommandsPrompt) != 0) {
        // The expanded prompts take over from the next frame.
        r.commandsShown = true;
        SetPedConfigFlag(r.ped, CONFIG_FLAG_COMMANDS, true);
    }
    Activate(r.showCommandsPrompt);
    Deactivate(r.hideCommandsPrompt);
    Deactivate(r.stayPrompt);
    Deactivate(r.followPrompt);
    Deactivate(r.dismissPrompt);
}

}  // namespace

void TargetQuery() {
    const std::int32_t player = GetPlayerId();
    GetPlayerTargetEntity(player, &behaviour.targetEntity, 1, 1);
}

bool UpdateCommandPrompts(BodyguardRecord& r) {
    if (behaviour.targetEntity != r.ped) {
        if (r.promptsCreated) {
            DeleteOrderPrompts(r);
            SetPedConfigFlag(r.ped, CONFIG_FLAG_COMMANDS, true);
            r.promptsCreated = false;
        }
        return true;
    }

    if (!r.promptsCreated) {
        CreateOrderPrompts(r);
        if (!r.commandsShown) SetPedConfigFlag(r.ped, CONFIG_FLAG_COMMANDS, false);
        r.promptsCreated = true;
    }

    if (r.commandsShown) return ExpandedStep(r);
    CollapsedStep(r);
    return true;
}

void OrderStay(BodyguardRecord& r) {
    r.staying = true;
    if (IsPedUsingScenario(r.ped, HashOfName(SMOKE_SCENARIO)) == 0) {
        TaskStartScenarioInPlace(r.ped, HashOfName(SMOKE_SCENARIO), 0, 0, 0, 1.0f, 0);
    }
}

void OrderFollow(BodyguardRecord& r) {
    r.staying = false;
    ClearPedTasks(r.ped, 1, 1);
}
