// The Windows virtual-key codes the tests press, one definition for all of them.
#pragma once

constexpr int VK_BACK_KEY = 8, VK_ENTER_KEY = 13, VK_ALT_KEY = 18, VK_HOME_KEY = 36, VK_LEFT_KEY = 37,
              VK_UP_KEY = 38, VK_RIGHT_KEY = 39, VK_DOWN_KEY = 40, VK_0_KEY = 48, VK_F2_KEY = 113,
              VK_F3_KEY = 114;
