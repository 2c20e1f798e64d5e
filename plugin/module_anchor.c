/* The plugin module is the framework library linked whole; this file only
   gives the module target a source of its own. */
typedef int zun_module_anchor;
