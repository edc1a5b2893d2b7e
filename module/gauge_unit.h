// What every gauge unit includes: the records, the gauge table and the host services.
#pragma once

#include "module/gauge_records.h"
#include "module/gauge_table.h"
#include "module/host_services.h"

// A gauge's static failure lists are ended by a record with key 0.
#define FAILURE_END {0, 0, 0}
