# Writes OUTPUT, a header that defines VEXAL_COMMIT: the commit that the
# sources were taken from. Run at build time (cmake -P), so a new commit
# shows without configuring again; the file is rewritten only when the text
# changes, so nothing rebuilds otherwise.
#
# In order: COMMIT when given (-DVEXAL_COMMIT=... at configure time, for
# packagers), the git work tree of SOURCE_DIR (12 hex digits, "-dirty" when
# tracked files differ from the commit), the commit that `git archive`
# wrote into cmake/source-commit.txt, else "unknown".
if(NOT SOURCE_DIR OR NOT OUTPUT)
  message(FATAL_ERROR "usage: cmake -DSOURCE_DIR=... -DOUTPUT=... [-DCOMMIT=...] -P SourceCommit.cmake")
endif()

set(_commit "")
if(COMMIT)
  set(_commit "${COMMIT}")
endif()

if(_commit STREQUAL "")
  find_program(_git git)
  if(_git)
    # Only the sources' own work tree counts, not one that happens to
    # enclose an unpacked source archive.
    execute_process(COMMAND ${_git} -C ${SOURCE_DIR} rev-parse --show-toplevel
      OUTPUT_VARIABLE _top OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE _rc ERROR_QUIET)
    if(_rc EQUAL 0)
      file(REAL_PATH "${_top}" _top)
      file(REAL_PATH "${SOURCE_DIR}" _src)
    endif()
    if(_rc EQUAL 0 AND _top STREQUAL _src)
      execute_process(COMMAND ${_git} -C ${SOURCE_DIR} rev-parse --short=12 HEAD
        OUTPUT_VARIABLE _head OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE _rc ERROR_QUIET)
      if(_rc EQUAL 0 AND NOT _head STREQUAL "")
        set(_commit "${_head}")
        # Tracked files only: build trees and editor files do not count.
        execute_process(COMMAND ${_git} -C ${SOURCE_DIR} status --porcelain --untracked-files=no
          OUTPUT_VARIABLE _changes RESULT_VARIABLE _rc ERROR_QUIET)
        if(_rc EQUAL 0 AND NOT _changes STREQUAL "")
          string(APPEND _commit "-dirty")
        endif()
      endif()
    endif()
  endif()
endif()

if(_commit STREQUAL "" AND EXISTS ${SOURCE_DIR}/cmake/source-commit.txt)
  file(STRINGS ${SOURCE_DIR}/cmake/source-commit.txt _lines LIMIT_COUNT 1)
  # Outside an archive the file holds the placeholder that git archive fills.
  if(_lines MATCHES "^[0-9a-f]+$")
    string(SUBSTRING "${_lines}" 0 12 _commit)
  endif()
endif()

if(_commit STREQUAL "")
  set(_commit "unknown")
endif()
if(NOT _commit MATCHES "^[A-Za-z0-9._+-]+$")
  message(FATAL_ERROR "the commit \"${_commit}\" holds characters other than letters, digits and ._+-")
endif()

set(_text "// Written by cmake/SourceCommit.cmake at build time.\n#define VEXAL_COMMIT \"${_commit}\"\n")
set(_old "")
if(EXISTS ${OUTPUT})
  file(READ ${OUTPUT} _old)
endif()
if(NOT _old STREQUAL _text)
  file(WRITE ${OUTPUT} "${_text}")
endif()
