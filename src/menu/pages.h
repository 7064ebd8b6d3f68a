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

// The ped the model page created for the bodyguard under construction. The
// builder compares it with the ped of slot lastSpawnSlot to notice that its
// bodyguard has left the roster meanwhile (killed or dismissed while the menu
// was closed) and must not be dressed, charged for or deleted in its place.
extern int builderPed;
