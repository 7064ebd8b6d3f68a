// The two routines every prompt of the plug-in goes through: the "Help" prompt
// a bodyguard gets when hired and the order prompts of the behaviour.
#pragma once

#include <cstdint>

// Registers a prompt bound to `control` with its label and mode (number + 4),
// optionally tied to the ped's prompt group, and leaves it disabled and hidden.
// The handle is stored in *prompt at once.
void CreateBodyguardPrompt(std::int32_t* prompt, const char* control, bool tieToGroup, std::int32_t ped,
                           const char* text, int number);
void SetPromptActive(std::int32_t prompt, bool enabled, bool visible);
