// Linkage: the table the panel system reads when it loads the module.
#include "module/gauge_table.h"

static void GAUGE_CALL module_init() {}
static void GAUGE_CALL module_deinit() {}

#define CORVAN_GAUGE_POINTER(name, mm) &gauge_##name,

GAUGE_EXPORT GAUGESLINKAGE Linkage;
GAUGESLINKAGE Linkage = {
    .module_id = kModuleId,
    .module_init = module_init,
    .module_deinit = module_deinit,
    .flags = 0,
    .priority = 0,
    .module_version = kLinkVersion,
    .gauge_header_ptr = {CORVAN_GAUGE_TABLE(CORVAN_GAUGE_POINTER) nullptr},
};

static_assert(sizeof(Linkage.gauge_header_ptr) / sizeof(GAUGEHDR*) == kGaugeCount + 1);
