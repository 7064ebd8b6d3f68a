#include "builder_driver.h"

#include <algorithm>

#include "menu/state.h"
#include "script_calls.h"

void BuilderDriverTest::OpenBuilder() {
    Home();
    ASSERT_EQ(menu.menuPage, PAGE_MAIN);
    MoveTo(menu.mainMenuItem, 0);
    Enter();
    ASSERT_EQ(menu.menuPage, PAGE_BUILDER);
}

void BuilderDriverTest::OpenModelPage(int category) {
    MoveTo(menu.builderItem, 0);
    Enter();
    ASSERT_EQ(menu.menuPage, PAGE_CATEGORY);
    MoveTo(menu.categoryItem, category);
    Enter();
}

namespace {

// The item variable of the model list page that is open, or nullptr.
int* ModelPageItem() {
    switch (menu.menuPage) {
        case PAGE_MODELS_FEMALE: return &menu.femaleItem;
        case PAGE_MODELS_MALE: return &menu.maleItem;
        case PAGE_MODELS_GANG: return &menu.gangItem;
        case PAGE_MODELS_ALL: return &menu.allItem;
        case PAGE_MODELS_CUSTOM: return &menu.customItem;
        default: return nullptr;
    }
}

}  // namespace

void BuilderDriverTest::StepModel(int steps) {
    int* item = ModelPageItem();
    ASSERT_NE(item, nullptr) << "not on a model page: " << menu.menuPage;
    MoveTo(*item, 0);
    for (int i = 0; i < steps; ++i) Right();
}

void BuilderDriverTest::AcceptSpawn() {
    int* item = ModelPageItem();
    ASSERT_NE(item, nullptr) << "not on a model page: " << menu.menuPage;
    MoveTo(*item, 1);
    Enter();
    // The hire waits for the model, then 300 ms.
    standin::RunMs(600);
}

void BuilderDriverTest::SpawnModel(int category, int index) {
    OpenBuilder();
    OpenModelPage(category);
    StepModel(index);
    AcceptSpawn();
}

std::vector<std::string> BuilderDriverTest::Lines() {
    std::vector<std::string> out;
    for (const standin::MenuLine& l : standin::MenuLines()) {
        out.push_back(std::to_string(l.row) + ":" + (l.dimmed ? "~" : "") + l.text);
    }
    return out;
}
