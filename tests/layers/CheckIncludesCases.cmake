# The include check run over small made-up trees: each case writes one file
# beside a file that keeps to the table, and the check must fail naming that
# file, or pass where the case keeps to the table too.
#
#   cmake -DCHECK=<CheckIncludes.cmake> -DQT_INCLUDE=<qt include root>
#         -DWORK=<scratch folder> -P CheckIncludesCases.cmake

cmake_minimum_required(VERSION 3.25)

set(_failed)
# `file` is written with `text` under a fresh src/ whose table lets device
# use Qt Core and app use device, Qt Core and Widgets; `expect` is what the
# check's failure must say, or PASS.
function(_case name file text expect)
  set(_src "${WORK}/${name}/src")
  file(REMOVE_RECURSE "${WORK}/${name}")
  file(WRITE "${_src}/layers.txt" "device Qt:Core\napp device Qt:Core Qt:Widgets\n")
  file(WRITE "${_src}/device/Kept.cpp" "#include <QString>\n")
  file(WRITE "${_src}/app/Kept.h" "#include <QWidget>\n")
  if(file)
    file(WRITE "${_src}/${file}" "${text}\n")
  else()
    file(REMOVE_RECURSE "${_src}/device" "${_src}/app")
  endif()
  execute_process(
    COMMAND ${CMAKE_COMMAND} -DSRC=${_src} -DTABLE=${_src}/layers.txt -DQT_INCLUDE=${QT_INCLUDE}
            -P ${CHECK}
    RESULT_VARIABLE _rc OUTPUT_VARIABLE _out ERROR_VARIABLE _out)
  if(expect STREQUAL "PASS")
    if(NOT _rc EQUAL 0)
      set(_failed ${_failed} "${name}: failed where it should pass:\n${_out}" PARENT_SCOPE)
    endif()
  elseif(_rc EQUAL 0)
    set(_failed ${_failed} "${name}: passed, should fail with \"${expect}\"" PARENT_SCOPE)
  else()
    string(FIND "${_out}" "${expect}" _at)
    if(_at EQUAL -1)
      set(_failed ${_failed} "${name}: failed without \"${expect}\":\n${_out}" PARENT_SCOPE)
    endif()
  endif()
endfunction()

_case(kept app/Views.cpp [=[
#include "Kept.h"
#include "QLabel"
#include <device/Kept.h>
#include "app/Later.h"]=] PASS)
_case(quoted_qt device/A.cpp [=[#include "QWidget"]=]
      [=[device/A.cpp: #include "QWidget": src/device may not use Qt:Widgets]=])
_case(quoted_qt_module device/A.cpp [=[#include "QtWidgets/QLabel"]=]
      [=[device/A.cpp: #include "QtWidgets/QLabel": src/device may not use Qt:Widgets]=])
_case(spaced_angled device/A.h [=[#  include <QtWidgets/QWidget>]=]
      [=[device/A.h: #include <QtWidgets/QWidget>: src/device may not use Qt:Widgets]=])
_case(header_not_there_yet device/A.cpp [=[#include <app/Later.h>]=]
      [=[device/A.cpp: #include <app/Later.h>: src/device may not use app/Later.h]=])
_case(up_a_folder device/A.cpp [=[#include "../app/Kept.h"]=]
      [=[device/A.cpp: #include "../app/Kept.h": src/device may not use app/Kept.h]=])
_case(after_a_bracket device/A.cpp [=[
#include <QString> // [ the list
#include <QWidget>]=] [=[device/A.cpp: #include <QWidget>]=])
_case(after_a_semicolon device/A.cpp [=[
#include <QString> // a; b
#include <QWidget>]=] [=[device/A.cpp: #include <QWidget>]=])
_case(other_extension device/A.hpp [=[#include <QWidget>]=]
      [=[device/A.hpp: #include <QWidget>]=])
_case(new_folder ride/A.cpp [=[#include <QString>]=] [=[src/ride has no line]=])
_case(no_folder A.cpp [=[#include <QString>]=] [=[A.cpp: lies in no folder]=])
_case(no_files "" "" [=[no source file under]=])

if(_failed)
  list(JOIN _failed "\n" _listed)
  message(FATAL_ERROR "${_listed}")
endif()
