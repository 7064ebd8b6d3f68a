// The two routines every prompt of the plug-in goes through: one registers a
// prompt bound to a control, with its label and mode, optionally tied to a
// ped's prompt group; the other switches a prompt on or off.
#include "roster/prompts.h"

#include "game/natives.h"

namespace {
// The game takes a prompt's number with this offset as its mode value.
constexpr int PROMPT_MODE_OFFSET = 4;
}  // namespace

void CreateBodyguardPrompt(std::int32_t* prompt, const char* control, bool tieToGroup, std::int32_t ped,
                           const char* text, int number) {
    const std::int32_t handle = PromptRegisterBegin();
    // The record knows its prompt at once, before the rest of the set-up.
    *prompt = handle;
    PromptSetControlAction(handle, HashOfName(control));
    const TextHandle label = CreateVarString(10, "LITERAL_STRING", text);
    PromptSetText(handle, label);
    PromptSetMode(handle, number + PROMPT_MODE_OFFSET);
    // Tied to the ped's group, the prompt shows when the player targets that ped.
    if (tieToGroup) PromptSetGroup(handle, GetPedPromptGroup(ped), 0);
    PromptRegisterEnd(handle);
    SetPromptActive(handle, false, false);
}

void SetPromptActive(std::int32_t prompt, bool enabled, bool visible) {
    PromptSetEnabled(prompt, enabled);
    PromptSetVisible(prompt, visible);
}
