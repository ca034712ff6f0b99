// The regions (Windows GeoIDs) whose users start with an unticked licence checkbox: the member
// states of the European Union, the United Kingdom, Canada and Japan.
#pragma once

#include <cstdint>

bool IsConsentRegion(std::int32_t geoId);

// The user's region from "Control Panel\International\Geo", value "Nation". Windows only.
bool IsRegionWithConsentDefault();
