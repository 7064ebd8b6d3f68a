// One procedure per menu page, run once per frame by the frame tick.
#pragma once

void MainMenuPage();
void BuilderPage();
void CategoryPage();
// The five model list pages share one procedure; `page` is PAGE_MODELS_FEMALE
// to PAGE_MODELS_CUSTOM.
void ModelListPage(int page);
void RosterFullPage();
void InvalidModelPage();

// Removes the builder's bodyguard from the game and the roster and forgets
// the build; nothing happens when no bodyguard is under construction.
void DiscardBuilderBodyguard();
