// The one reset of the plugin layer: the plug-in state: host handles, menus, options.
#pragma once

namespace zrt {

// Puts every state of this folder back to its load-time defaults. A new state
// struct in this folder gets its reset called from here.
void resetPluginLayer();

}  // namespace zrt
