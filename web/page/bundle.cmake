# After each build: the data gzipped for the page to unpack, and the service
# worker named after the game's version and a hash of the files it keeps.
#   cmake -DDIR=... -DGAME_VERSION=... -DTEMPLATE=... -P bundle.cmake
execute_process(COMMAND gzip -9 -n -c ${DIR}/quorvane.data OUTPUT_FILE ${DIR}/quorvane.data.gz
                RESULT_VARIABLE status)
if(status)
  message(FATAL_ERROR "gzip failed: ${status}")
endif()
set(hashes "")
foreach(file index.html page.js quorvane.js quorvane.wasm quorvane.data.gz manifest.webmanifest)
  file(SHA256 ${DIR}/${file} hash)
  string(APPEND hashes ${hash})
endforeach()
string(SHA256 BUILD_HASH "${hashes}")
string(SUBSTRING ${BUILD_HASH} 0 16 BUILD_HASH)
configure_file(${TEMPLATE} ${DIR}/sw.js @ONLY)
