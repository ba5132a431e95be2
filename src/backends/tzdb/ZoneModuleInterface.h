// What the zone module (halyard-zones.so) offers the programs that load it.
// The module reads named zones from the system's zone database through the
// date/tz library, which needs the shared C++ runtime; the clock is built
// with its own copy and loads the module only when a named zone is asked for.
// Two C++ runtimes may then live in one process, so only C types cross here:
// no exception, no std:: object, no memory one side frees for the other.
#pragma once

#include <stddef.h>

extern "C" {

// A zone of the database; it lives as long as the module.
typedef struct ZoneModuleZone ZoneModuleZone;

typedef struct ZoneModuleInterface {
  // The zone of that name (`length` bytes, not terminated), or null: no such
  // zone, or its file cannot be read.
  const ZoneModuleZone* (*find)(const char* name, size_t length);
  // The zone's offset from UTC and its abbreviation (terminated) at `utc`
  // (seconds since 1970-01-01 UTC). 0 when its rules cannot be read or the
  // abbreviation does not fit in `capacity` bytes; then nothing is written.
  int (*at)(const ZoneModuleZone* zone, long long utc, long long* offsetSeconds, char* abbreviation,
            size_t capacity);
} ZoneModuleInterface;

// The module's one exported function, and its name for dlsym. The number
// changes with the interface, so a module of another version is not taken
// for this one.
const ZoneModuleInterface* halyard_zone_module_1(void);
#define ZONE_MODULE_ENTRY "halyard_zone_module_1"
typedef const ZoneModuleInterface* (*ZoneModuleEntry)(void);

}  // extern "C"
