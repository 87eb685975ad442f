# Writes the site's service worker (cmake -P): TEMPLATE with the names of
# FILES, the site's files in SITE_DIR that it keeps, and a version made of
# their contents and its own, into OUTPUT.
file(SHA256 ${TEMPLATE} contents)
set(names "'./'")
foreach(file IN LISTS FILES)
  file(SHA256 ${SITE_DIR}/${file} hash)
  string(APPEND contents "${file} ${hash}\n")
  string(APPEND names ", '${file}'")
endforeach()
string(SHA256 version "${contents}")
string(SUBSTRING ${version} 0 16 BILIJAR_SITE_VERSION)
set(BILIJAR_SITE_FILES ${names})
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
