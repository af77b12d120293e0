# The version a build carries: the release, then the number of commits that
# lead to the one built, so that every later commit packs a higher version
# and apt takes it over an earlier build. The dates (the change log's, the
# manual pages', the software-centre release's) are the commit's, so that two
# builds of the same source are the same. A tree without history (an
# unpacked archive) carries the release alone, dated as SOURCE_DATE_EPOCH
# says or else today.
#
# In: PELVANE_RELEASE, PELVANE_SOURCE_DIR, optionally PELVANE_COMMIT (HEAD).
# Out: PELVANE_VERSION, PELVANE_BUILD (the count, or empty), PELVANE_DATE
# (as a change log writes it) and PELVANE_DAY (YYYY-MM-DD).
# Run as a script (cmake -D... -P version.cmake) it prints the version.
if(NOT PELVANE_COMMIT)
  set(PELVANE_COMMIT HEAD)
endif()
find_package(Git QUIET)
set(PELVANE_BUILD "")
if(GIT_FOUND)
  execute_process(COMMAND ${GIT_EXECUTABLE} rev-list --count ${PELVANE_COMMIT}
                  WORKING_DIRECTORY ${PELVANE_SOURCE_DIR}
                  OUTPUT_VARIABLE pelvane_count OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE pelvane_git_failed ERROR_QUIET)
  if(NOT pelvane_git_failed AND pelvane_count MATCHES "^[0-9]+$")
    set(PELVANE_BUILD ${pelvane_count})
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%cD%n%cs ${PELVANE_COMMIT}
                    WORKING_DIRECTORY ${PELVANE_SOURCE_DIR}
                    OUTPUT_VARIABLE pelvane_dates OUTPUT_STRIP_TRAILING_WHITESPACE)
    string(REPLACE "\n" ";" pelvane_dates "${pelvane_dates}")
    list(GET pelvane_dates 0 PELVANE_DATE)
    list(GET pelvane_dates 1 PELVANE_DAY)
    # A new commit makes a new version: the build configures again.
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --absolute-git-dir
                    WORKING_DIRECTORY ${PELVANE_SOURCE_DIR}
                    OUTPUT_VARIABLE pelvane_git_dir OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT CMAKE_SCRIPT_MODE_FILE AND EXISTS ${pelvane_git_dir}/logs/HEAD)
      set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${pelvane_git_dir}/logs/HEAD)
    endif()
  endif()
endif()
if(PELVANE_BUILD STREQUAL "")
  set(PELVANE_VERSION ${PELVANE_RELEASE})
  string(TIMESTAMP PELVANE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
  string(TIMESTAMP PELVANE_DAY "%Y-%m-%d" UTC)
else()
  set(PELVANE_VERSION ${PELVANE_RELEASE}.${PELVANE_BUILD})
endif()
if(CMAKE_SCRIPT_MODE_FILE)
  message(${PELVANE_VERSION})
endif()
