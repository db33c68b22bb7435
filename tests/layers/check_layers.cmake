# Reads every #include "..." of the program's folders and fails on one that
# points up or sideways against the order of the layers (docs/layers.md):
#   cmake -DQX_ROOT=<source folder> -P check_layers.cmake
#
# Each folder below is one layer's library; the list after it names the
# folders its files may include (its own and those below it).
cmake_minimum_required(VERSION 3.25)

set(layer_base        platform/base)
set(layer_attext      platform/attext platform/base)
set(layer_ril         platform/ril platform/attext platform/base)
set(layer_modem       platform/modem platform/ril platform/attext platform/base)
set(layer_aygshell    platform/aygshell platform/base res)
set(layer_ossvcs      platform/ossvcs platform/ril platform/base)
set(layer_linkdeck    platform/linkdeck platform/modem platform/ril platform/base)
set(layer_orvexscroll platform/orvexscroll platform/base)
set(layer_core        core platform/aygshell platform/base res)
set(layer_settings    settings core platform/ril platform/aygshell platform/base res)
set(layer_listwin     listwin settings core platform/orvexscroll platform/aygshell platform/base res)
set(layer_msgbox      msgbox core platform/aygshell platform/base res)
set(layer_shell       shell listwin msgbox settings core platform/ossvcs platform/modem platform/aygshell platform/base res)
set(layers base attext ril modem aygshell ossvcs linkdeck orvexscroll core settings listwin msgbox shell)

if(NOT QX_ROOT)
    message(FATAL_ERROR "QX_ROOT is not set")
endif()

# The layer folder a path lies in: the longest folder of the table that
# holds it ("core/x.h" is the core's, "shell/x.h" the shell's).
function(folder_of path out)
    set(best "")
    foreach(layer IN LISTS layers)
        list(GET layer_${layer} 0 folder)
        string(LENGTH "${folder}" n)
        string(LENGTH "${best}" nbest)
        string(FIND "${path}" "${folder}/" at)
        if(at EQUAL 0 AND n GREATER nbest)
            set(best "${folder}")
        endif()
    endforeach()
    if(best STREQUAL "" AND path MATCHES "^res/")
        set(best res)
    endif()
    set(${out} "${best}" PARENT_SCOPE)
endfunction()

set(faults 0)
set(checked 0)
foreach(layer IN LISTS layers)
    set(allowed ${layer_${layer}})
    list(GET allowed 0 home)
    file(GLOB sources RELATIVE ${QX_ROOT} ${QX_ROOT}/${home}/*.h ${QX_ROOT}/${home}/*.cpp)
    foreach(source IN LISTS sources)
        math(EXPR checked "${checked} + 1")
        file(STRINGS ${QX_ROOT}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" target "${line}")
            folder_of("${target}" folder)
            if(folder STREQUAL "")
                message(SEND_ERROR "${source}: #include \"${target}\" is in no layer's folder")
                math(EXPR faults "${faults} + 1")
            elseif(NOT folder IN_LIST allowed)
                message(SEND_ERROR "${source}: #include \"${target}\" reaches ${folder}, "
                                   "above or beside ${home}")
                math(EXPR faults "${faults} + 1")
            endif()
        endforeach()
    endforeach()
endforeach()

if(checked EQUAL 0)
    message(FATAL_ERROR "no source file found under ${QX_ROOT}")
endif()
message(STATUS "${checked} files of ${QX_ROOT}: ${faults} includes against the layers")
