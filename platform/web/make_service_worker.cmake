# Writes SITE/sw.js from sw.js.in for the site in SITE: the cache is named for VERSION and the
# digest of the site's files, and every file is listed with its SHA-256.
#   cmake -DSITE=build/web -DVERSION=1.0.0 -P platform/web/make_service_worker.cmake
set(files index.html zelu-line.js zelu-line.wasm manifest.webmanifest icon.png icon-192.png
          icon-512.png touch.css touch.js pad_overlay.js offline.js LICENSE.txt
          THIRD_PARTY_NOTICES.txt)
set(listing "")
set(digests "")
foreach(file ${files})
  if(NOT EXISTS "${SITE}/${file}")
    message(FATAL_ERROR "${SITE}/${file} is missing")
  endif()
  file(SHA256 "${SITE}/${file}" digest)
  string(APPEND listing "\n  '${file}': '${digest}',")
  string(APPEND digests "${digest}")
endforeach()
string(SHA256 build "${digests}")
string(SUBSTRING "${build}" 0 16 build)
set(ZELU_WEB_CACHE "zelu-line-${VERSION}-${build}")
set(ZELU_WEB_FILES "{${listing}\n}")
configure_file("${CMAKE_CURRENT_LIST_DIR}/sw.js.in" "${SITE}/sw.js" @ONLY)
