// STUB: being written; replaced by its owner.
#include "menu/pages.h"
void CategoryPage() {}
void ModelListPage(int) {}
