# Generates the linker script of the launcher stubs from the toolchain's own
# default script (`ld --verbose`).
#
#   cmake -DLINKER=<triple>-ld -DARCH=<x86_64|i686> -DOUTPUT=<file> -P StubLinkerScript.cmake
#
# The launcher finds its configuration block through two fixed header fields:
# the raw-data size and position of its last section, the resources. Those
# fields sit at a fixed file offset only when the number of sections is
# fixed, so the stub is linked into exactly these sections:
#
#   i686   (PE32):  .text .data .rdata .reloc .rsrc           (fields at 552/556)
#   x86_64 (PE32+): .text .data .rdata .pdata .reloc .rsrc    (fields at 608/612)
#
# The default script is reshaped, not replaced:
# - .eh_frame, .xdata (x86_64), .edata and the imports (.idata) move into
#   .rdata, behind the runtime pseudo-relocation list. The list's start and
#   end symbols, which the default script defines at the end of .rdata, are
#   defined right beside the list instead, or the runtime would walk the
#   merged bytes.
# - ld fills the import directory from an output section named .idata, or
#   else from the symbols ".idata$2" to ".idata$4" (the descriptors) and
#   ".idata$5" to ".idata$6" (the address table), which the merged imports
#   define as image-relative addresses. The address table stays read-only
#   after loading, as in the images of other linkers.
# - .tls, .CRT and .bss move into .data, the TLS input first: SECREL32
#   offsets count from the start of the output section that holds _tls_start.
# - .pdata keeps its name: ld fills the exception directory only from an
#   output section with this name.
# - .reloc, the base relocations that let the image load at any address
#   (ASLR), stands before .rsrc, so that the resources stay last.
# The stubs link with --orphan-handling=error, so an input section this
# script does not place fails the link instead of adding a section.
# Every section the reshaping needs must be found; anything else is an error.

cmake_minimum_required(VERSION 3.20)

foreach(var LINKER ARCH OUTPUT)
  if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
    message(FATAL_ERROR "StubLinkerScript: ${var} is not set")
  endif()
endforeach()

if(ARCH STREQUAL "x86_64")
  set(expected_format "pei-x86-64")
  set(rdata_merge .eh_frame .xdata .edata .idata)
elseif(ARCH STREQUAL "i686")
  set(expected_format "pei-i386")
  set(rdata_merge .eh_frame .edata .idata)
else()
  message(FATAL_ERROR "StubLinkerScript: unknown architecture '${ARCH}'")
endif()
set(data_merge .tls .CRT .bss)
set(psreloc_symbols
  ___RUNTIME_PSEUDO_RELOC_LIST__ __RUNTIME_PSEUDO_RELOC_LIST__
  ___RUNTIME_PSEUDO_RELOC_LIST_END__ __RUNTIME_PSEUDO_RELOC_LIST_END__)

function(fail what)
  message(FATAL_ERROR "StubLinkerScript: ${what} (default script of ${LINKER})")
endfunction()

# Position of needle in text at or after start, or -1.
function(find_from text start needle out)
  string(SUBSTRING "${text}" ${start} -1 rest)
  string(FIND "${rest}" "${needle}" at)
  if(at GREATER_EQUAL 0)
    math(EXPR at "${at} + ${start}")
  endif()
  set(${out} ${at} PARENT_SCOPE)
endfunction()

# --- The default script: the text between the two lines of '=' ------------
execute_process(COMMAND ${LINKER} --verbose
  OUTPUT_VARIABLE verbose RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  fail("'--verbose' failed (${rc}): ${err}")
endif()
set(rule "==================================================\n")
string(FIND "${verbose}" "${rule}" first)
string(FIND "${verbose}" "${rule}" last REVERSE)
if(first LESS 0 OR last LESS_EQUAL first)
  fail("no default script in the '--verbose' output")
endif()
string(LENGTH "${rule}" rule_length)
math(EXPR begin "${first} + ${rule_length}")
math(EXPR length "${last} - ${begin}")
string(SUBSTRING "${verbose}" ${begin} ${length} script)

if(NOT script MATCHES "OUTPUT_FORMAT\\(${expected_format}\\)")
  fail("the script is not for ${expected_format}")
endif()

# Comments go: they may hold braces and semicolons, which the parser counts.
set(plain "")
while(TRUE)
  string(FIND "${script}" "/*" open)
  if(open LESS 0)
    break()
  endif()
  find_from("${script}" ${open} "*/" close)
  if(close LESS 0)
    fail("unterminated comment")
  endif()
  string(SUBSTRING "${script}" 0 ${open} head)
  string(APPEND plain "${head}")
  math(EXPR close "${close} + 2")
  string(SUBSTRING "${script}" ${close} -1 script)
endwhile()
string(APPEND plain "${script}")
set(script "${plain}")

# --- Parse the SECTIONS command into items --------------------------------
# Each item is either a statement (an assignment ending in ';') or an output
# section description "<name> <address and attributes> : { <body> }".
string(REGEX MATCH "SECTIONS[ \t\n]*{" sections_open "${script}")
if(NOT sections_open)
  fail("no SECTIONS command")
endif()
string(FIND "${script}" "${sections_open}" sections_at)
string(LENGTH "${sections_open}" open_length)
math(EXPR cursor "${sections_at} + ${open_length}")
string(SUBSTRING "${script}" 0 ${sections_at} prologue)

set(count 0)
while(TRUE)
  find_from("${script}" ${cursor} ";" semi)
  find_from("${script}" ${cursor} "{" brace)
  find_from("${script}" ${cursor} "}" close)
  if(close LESS 0)
    fail("SECTIONS is not closed")
  endif()
  # The nearest of the three decides what comes next.
  set(next ${close})
  set(kind end)
  if(semi GREATER_EQUAL 0 AND semi LESS next)
    set(next ${semi})
    set(kind statement)
  endif()
  if(brace GREATER_EQUAL 0 AND brace LESS next)
    set(next ${brace})
    set(kind section)
  endif()
  math(EXPR span "${next} - ${cursor}")
  string(SUBSTRING "${script}" ${cursor} ${span} head)
  string(STRIP "${head}" head)

  if(kind STREQUAL "end")
    if(NOT head STREQUAL "")
      fail("unexpected text '${head}' at the end of SECTIONS")
    endif()
    math(EXPR cursor "${close} + 1")
    string(SUBSTRING "${script}" ${cursor} -1 epilogue)
    break()
  endif()

  math(EXPR count "${count} + 1")
  set(item_kind_${count} ${kind})
  if(kind STREQUAL "statement")
    set(item_text_${count} "${head};")
    string(REGEX MATCH "^[A-Za-z_.$][A-Za-z0-9_.$]*" item_name_${count} "${head}")
    math(EXPR cursor "${semi} + 1")
  else()
    # Find the matching closing brace.
    set(depth 1)
    math(EXPR pos "${brace} + 1")
    while(depth GREATER 0)
      find_from("${script}" ${pos} "{" o)
      find_from("${script}" ${pos} "}" c)
      if(c LESS 0)
        fail("unbalanced braces in section '${head}'")
      endif()
      if(o GREATER_EQUAL 0 AND o LESS c)
        math(EXPR depth "${depth} + 1")
        math(EXPR pos "${o} + 1")
      else()
        math(EXPR depth "${depth} - 1")
        math(EXPR pos "${c} + 1")
      endif()
    endwhile()
    math(EXPR body_begin "${brace} + 1")
    math(EXPR body_length "${pos} - 1 - ${body_begin}")
    string(SUBSTRING "${script}" ${body_begin} ${body_length} body)
    # Region or fill attributes after the closing brace are not expected.
    find_from("${script}" ${pos} "\n" eol)
    if(eol GREATER pos)
      math(EXPR tail_length "${eol} - ${pos}")
      string(SUBSTRING "${script}" ${pos} ${tail_length} tail)
      string(STRIP "${tail}" tail)
      if(NOT tail STREQUAL "")
        fail("unexpected '${tail}' after section '${head}'")
      endif()
    endif()
    string(REGEX MATCH "^[^ \t\n]+" item_name_${count} "${head}")
    set(item_head_${count} "${head}")
    set(item_body_${count} "${body}")
    set(section_${item_name_${count}} ${count})
    set(cursor ${pos})
  endif()
endwhile()

foreach(name .text .data .rdata .pdata .idata .rsrc .reloc ${rdata_merge} ${data_merge})
  if(NOT DEFINED section_${name})
    fail("output section ${name} not found")
  endif()
endforeach()

# --- Reshape ---------------------------------------------------------------
macro(body_of name out)
  set(${out} "${item_body_${section_${name}}}")
endmacro()

# The body of a section as it reads inside another one.
foreach(name .data ${rdata_merge} ${data_merge})
  if(name STREQUAL ".idata")
    continue()  # made below
  endif()
  body_of(${name} body)
  string(STRIP "${body}" body)
  set(piece_${name} "    /* ${name} */\n    ${body}\n")
endforeach()

# The imports inside .rdata: aligned for the descriptors and the address
# table, each of the four parts that ld looks for under its own name
# preceded by its symbol.
body_of(.idata idata)
foreach(part 2 4 5 6)
  set(pattern "\n([ \t]*)((KEEP[ \t]*\\([ \t]*)?SORT\\(\\*\\)\\(\\.idata\\$${part}\\))")
  if(NOT idata MATCHES "${pattern}")
    fail("no .idata$${part} in .idata")
  endif()
  string(REGEX REPLACE "${pattern}"
    "\n\\1\".idata$${part}\" = ABSOLUTE(. - __image_base__);\n\\1\\2" idata "${idata}")
endforeach()
string(STRIP "${idata}" idata)
set(piece_.idata "    /* .idata */\n    . = ALIGN(8);\n    ${idata}\n")

# .rdata: the pseudo-relocation list symbols beside the list, then the
# merged read-only sections.
body_of(.rdata rdata)
if(NOT rdata MATCHES "__rt_psrelocs_start[ \t]*=[ \t]*\\.[ \t]*;")
  fail("no __rt_psrelocs_start in .rdata")
endif()
string(REGEX MATCH "__rt_psrelocs_end[ \t]*=[ \t]*\\.[ \t]*;" list_end "${rdata}")
if(NOT list_end)
  fail("no __rt_psrelocs_end in .rdata")
endif()
string(FIND "${rdata}" "${list_end}" at)
string(LENGTH "${list_end}" list_end_length)
math(EXPR at "${at} + ${list_end_length}")
string(SUBSTRING "${rdata}" 0 ${at} rdata_head)
string(SUBSTRING "${rdata}" ${at} -1 rdata_tail)
set(rdata "${rdata_head}\n")
foreach(symbol ${psreloc_symbols})
  if(symbol MATCHES "_END__$")
    string(APPEND rdata "    ${symbol} = __rt_psrelocs_end;\n")
  else()
    string(APPEND rdata "    ${symbol} = __rt_psrelocs_start;\n")
  endif()
endforeach()
string(APPEND rdata "${rdata_tail}")
string(STRIP "${rdata}" rdata)
set(rdata "\n    ${rdata}\n")
foreach(name ${rdata_merge})
  string(APPEND rdata "${piece_${name}}")
endforeach()
set(item_body_${section_.rdata} "${rdata}  ")

# .data: the TLS template first, then data, .CRT and .bss. The default
# script leaves some .CRT groups (the TLS initialiser bounds .CRT$XDA and
# .CRT$XDZ) to orphan placement into its .CRT section; they follow the
# listed groups here, in name order.
set(data "\n")
foreach(name .tls .data .CRT)
  string(APPEND data "${piece_${name}}")
endforeach()
string(APPEND data "    KEEP (*(SORT(.CRT$*)))\n${piece_.bss}")
set(item_body_${section_.data} "${data}  ")

# Drop the merged sections and the old top-level list symbols.
foreach(name ${rdata_merge} ${data_merge})
  set(item_kind_${section_${name}} dropped)
endforeach()
set(found_symbols "")
foreach(i RANGE 1 ${count})
  if(item_kind_${i} STREQUAL "statement" AND item_name_${i} IN_LIST psreloc_symbols)
    set(item_kind_${i} dropped)
    list(APPEND found_symbols ${item_name_${i}})
  endif()
endforeach()
foreach(symbol ${psreloc_symbols})
  if(NOT symbol IN_LIST found_symbols)
    fail("no top-level definition of ${symbol}")
  endif()
endforeach()

# .reloc moves in front of .rsrc.
set(item_kind_${section_.reloc} dropped)
set(reloc_item "  ${item_head_${section_.reloc}}\n  {${item_body_${section_.reloc}}}\n")

# --- Write -----------------------------------------------------------------
set(out "/* Linker script of the launcher stubs (${ARCH}), generated by\n")
string(APPEND out "   cmake/StubLinkerScript.cmake from the default script of\n")
string(APPEND out "   ${LINKER}. Do not edit. */\n")
string(APPEND out "${prologue}SECTIONS\n{\n")
foreach(i RANGE 1 ${count})
  if(item_kind_${i} STREQUAL "statement")
    string(APPEND out "  ${item_text_${i}}\n")
  elseif(item_kind_${i} STREQUAL "section")
    if(i EQUAL section_.rsrc)
      string(APPEND out "${reloc_item}")
    endif()
    string(APPEND out "  ${item_head_${i}}\n  {${item_body_${i}}}\n")
  endif()
endforeach()
string(APPEND out "}${epilogue}")
# Lines left empty by the removed comments.
string(REGEX REPLACE "\n[ \t]*\n" "\n" out "${out}")
string(REGEX REPLACE "[ \t]+\n" "\n" out "${out}")

# Write only on change, so an unchanged script does not relink the stubs.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" previous)
  if(previous STREQUAL out)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${out}")
