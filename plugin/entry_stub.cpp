#include "plugin/plugin_handshake.h"
extern "C" void load_zun_parties(zun::PluginHandshake* h) { h->apiVersionMajor = 18; static int x; h->plugin = &x; h->name = "zun-parties"; }
