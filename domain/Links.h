#pragma once

// Every web address the program opens, in one place.
namespace kv::links
{

inline constexpr const char* MakerSite = "https://www.lumora-kv.cz";
inline constexpr const char* MakerMail = "info@lumora-kv.cz";
// Pages of this product and its sibling products on the maker's site.
inline constexpr const char* ProductKvelta = "https://www.lumora-kv.cz/kv/php/kv_default.php";
inline constexpr const char* ProductPelorin = "https://www.lumora-kv.cz/pe/php/clen.php";
inline constexpr const char* ProductTamsik = "https://www.lumora-kv.cz/ta/php/ta.php";
inline constexpr const char* ProductVelund = "https://www.lumora-kv.cz/ve/php/ve.php";
// The firm-detail page; the company number is appended.
inline constexpr const char* FirmDetail = "https://www.lumora-kv.cz/kv/php/firma.php?peno=";
// Three web portals (their names are texts 227 to 229).
inline constexpr const char* PortalAtlas = "https://www.mapnik.cz";
inline constexpr const char* PortalSeznam = "https://www.adresnik.cz";
inline constexpr const char* PortalPatria = "https://www.firmovna.cz";
// The two public registers, at their current official addresses (the old
// paths of 2001 no longer exist).
inline constexpr const char* CommercialRegister = "https://or.justice.cz/ias/ui/rejstrik";
inline constexpr const char* Ares = "https://ares.gov.cz/";

} // namespace kv::links
