#include "menu/state.h"

MenuState menu;
BuilderState builder;
