# Writes OUT, a header with the page's assets as string literals and the
# SHA-256 digests of the style and the script. Run with cmake -P.
file(READ ${ASSETS}/page.html html)
file(READ ${ASSETS}/page.css css)
file(READ ${ASSETS}/page.js js)
string(SHA256 css_sha "${css}")
string(SHA256 js_sha "${js}")
set(delimiter "velistrad_asset")
foreach(text IN ITEMS "${html}" "${css}" "${js}")
  string(FIND "${text}" ")${delimiter}\"" found)
  if(NOT found EQUAL -1)
    message(FATAL_ERROR "an asset holds the literal's delimiter")
  endif()
endforeach()
file(WRITE ${OUT}.new
"// Made by embed_assets.cmake from page/assets; do not edit.
#pragma once
namespace velistrad {
inline constexpr const char* kPageHtml = R\"${delimiter}(${html})${delimiter}\";
inline constexpr const char* kPageCss = R\"${delimiter}(${css})${delimiter}\";
inline constexpr const char* kPageJs = R\"${delimiter}(${js})${delimiter}\";
inline constexpr const char* kPageCssSha256 = \"${css_sha}\";
inline constexpr const char* kPageJsSha256 = \"${js_sha}\";
}  // namespace velistrad
")
file(RENAME ${OUT}.new ${OUT})
