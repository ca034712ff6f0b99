#include <string_view>
#include <unordered_map>

#include "config/Region.h"

bool IsConsentRegion(std::int32_t geoId) {
  // Built for each check and dropped after it; the names only document the ids.
  const std::unordered_map<std::int32_t, std::wstring_view> regions = {
      {122, L"Japan"},      {39, L"Canada"},   {14, L"Austria"},      {21, L"Belgium"},
      {35, L"Bulgaria"},    {108, L"Croatia"}, {59, L"Cyprus"},       {75, L"Czechia"},
      {61, L"Denmark"},     {70, L"Estonia"},  {77, L"Finland"},      {84, L"France"},
      {94, L"Germany"},     {98, L"Greece"},   {109, L"Hungary"},     {68, L"Ireland"},
      {118, L"Italy"},      {140, L"Latvia"},  {141, L"Lithuania"},   {242, L"United Kingdom"},
      {147, L"Luxembourg"}, {163, L"Malta"},   {176, L"Netherlands"}, {191, L"Poland"},
      {193, L"Portugal"},   {200, L"Romania"}, {143, L"Slovakia"},    {212, L"Slovenia"},
      {217, L"Spain"},      {221, L"Sweden"},
  };
  return regions.contains(geoId);
}
