# The order of the layers (docs/layers.md), held against the code twice:
#   cmake -DQX_ROOT=<source folder> -P check_layers.cmake
# - every #include "..." of a layer's folder reaches only what the table below
#   lets it: its own folder, a folder below it, or a single header below it
#   (a contract used without linking its library);
# - every layer's library, in its folder's CMakeLists.txt, links only layers
#   the table lets it reach, and links (itself or through another) every
#   folder the table names, so the table and the link lines cannot drift.
#
# Each layer: its folder first, then what its files may include.
cmake_minimum_required(VERSION 3.25)

set(layer_base        platform/base)
set(layer_attext      platform/attext)  # portable: nothing of the platform
set(layer_ril         platform/ril platform/attext platform/base)
set(layer_modem       platform/modem platform/ril platform/attext platform/base)
set(layer_aygshell    platform/aygshell platform/base res)
set(layer_ossvcs      platform/ossvcs platform/ril platform/base)
set(layer_linkdeck    platform/linkdeck platform/modem platform/ril platform/base)
set(layer_orvexscroll platform/orvexscroll platform/base)
set(layer_core        core platform/aygshell platform/base res)
set(layer_settings    settings core platform/ril platform/aygshell platform/base res)
# The list shows texts; it knows what a number may hold, never how the
# numbers are read or saved.
set(layer_listwin     listwin settings/number_input.h core platform/orvexscroll/scroll_contract.h
                      platform/aygshell platform/base res)
set(layer_msgbox      msgbox core platform/aygshell platform/base res)
set(layer_shell       shell listwin msgbox settings core platform/ossvcs platform/modem platform/aygshell
                      platform/base res)
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
macro(fault)
    message(SEND_ERROR ${ARGN})
    math(EXPR faults "${faults} + 1")
endmacro()

# The includes.
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
                fault("${source}: #include \"${target}\" is in no layer's folder")
            elseif(NOT folder IN_LIST allowed AND NOT target IN_LIST allowed)
                fault("${source}: #include \"${target}\" reaches ${folder}, above or beside ${home}")
            endif()
        endforeach()
    endforeach()
endforeach()
if(checked EQUAL 0)
    message(FATAL_ERROR "no source file found under ${QX_ROOT}")
endif()

# The link lines: each layer's library is the first add_library of its
# folder; what it links of the project is every qx_ library and the layers'
# other libraries named on its target_link_libraries lines.
foreach(layer IN LISTS layers)
    list(GET layer_${layer} 0 folder)
    file(READ ${QX_ROOT}/${folder}/CMakeLists.txt text)
    string(REGEX MATCH "add_library\\(([A-Za-z0-9_]+)" _ "${text}")
    set(lib_${layer} ${CMAKE_MATCH_1})
    set(library_of_${folder} ${CMAKE_MATCH_1})
    set(text_${layer} "${text}")
endforeach()
set(project_libs "")
foreach(layer IN LISTS layers)
    list(APPEND project_libs ${lib_${layer}})
endforeach()
foreach(layer IN LISTS layers)
    set(links "")
    string(REGEX MATCHALL "target_link_libraries\\(${lib_${layer}}[^)]*\\)" lines "${text_${layer}}")
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "^target_link_libraries\\(${lib_${layer}}|\\)$" "" line "${line}")
        string(REGEX MATCHALL "[A-Za-z0-9_]+" words "${line}")
        foreach(word IN LISTS words)
            if(word IN_LIST project_libs)
                list(APPEND links ${word})
            endif()
        endforeach()
    endforeach()
    set(links_${lib_${layer}} ${links})
endforeach()
# What a library links, itself or through the libraries it links.
function(reach lib out)
    set(seen "")
    set(todo ${links_${lib}})
    while(todo)
        list(POP_FRONT todo next)
        if(NOT next IN_LIST seen)
            list(APPEND seen ${next})
            list(APPEND todo ${links_${next}})
        endif()
    endwhile()
    set(${out} "${seen}" PARENT_SCOPE)
endfunction()
foreach(layer IN LISTS layers)
    set(allowed ${layer_${layer}})
    list(POP_FRONT allowed home)
    set(allowed_libs "")
    foreach(entry IN LISTS allowed)
        # A single header's library may be linked too, but need not be.
        get_filename_component(entry_folder ${entry} DIRECTORY)
        foreach(f ${entry} ${entry_folder})
            if(DEFINED library_of_${f})
                list(APPEND allowed_libs ${library_of_${f}})
            endif()
        endforeach()
    endforeach()
    foreach(link IN LISTS links_${lib_${layer}})
        if(NOT link IN_LIST allowed_libs)
            fault("${home}/CMakeLists.txt: ${lib_${layer}} links ${link}, which the table does not let ${home} reach")
        endif()
    endforeach()
    reach(${lib_${layer}} reached)
    foreach(entry IN LISTS allowed)
        if(DEFINED library_of_${entry} AND NOT library_of_${entry} IN_LIST reached)
            fault("${home}/CMakeLists.txt: ${lib_${layer}} does not link ${library_of_${entry}}, "
                  "though the table lets ${home} reach ${entry}")
        endif()
    endforeach()
endforeach()

message(STATUS "${checked} files of ${QX_ROOT}, ${faults} includes or links against the layers")
