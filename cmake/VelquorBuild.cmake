# SPDX-License-Identifier: MIT
# Helpers of the build, used by the CMakeLists.txt files of every folder.

# find_package for what a part of the build needs. When it is missing, the configure step stops
# and says which Debian package brings it and which option leaves the part out, instead of
# leaving the part out by itself or failing later with a message that names neither.
#   velquor_require(<package> [VERSION <min>] [COMPONENTS <component>...] [NAME <name>]
#                   INSTALL <debian package> FOR <part> [OFF <option>])
macro(velquor_require velquor_package)
    cmake_parse_arguments(velquor_req "" "VERSION;NAME;INSTALL;FOR;OFF" "COMPONENTS" ${ARGN})
    find_package(${velquor_package} ${velquor_req_VERSION} COMPONENTS ${velquor_req_COMPONENTS}
                 QUIET)
    set(velquor_req_missing "")
    foreach(velquor_req_component IN LISTS velquor_req_COMPONENTS)
        if(NOT ${velquor_package}${velquor_req_component}_FOUND
           AND NOT ${velquor_package}_${velquor_req_component}_FOUND)
            list(APPEND velquor_req_missing "${velquor_req_component}")
        endif()
    endforeach()
    if(velquor_req_missing OR NOT ${velquor_package}_FOUND)
        if(velquor_req_NAME)
            set(velquor_req_what "${velquor_req_NAME}")
        else()
            string(REPLACE "Qt6" "Qt 6" velquor_req_what "${velquor_package}")
        endif()
        if(velquor_req_missing)
            list(JOIN velquor_req_missing ", " velquor_req_missing)
            string(APPEND velquor_req_what " ${velquor_req_missing}")
        endif()
        if(velquor_req_VERSION)
            string(APPEND velquor_req_what " (${velquor_req_VERSION} or later)")
        endif()
        set(velquor_req_hint "")
        if(velquor_req_OFF)
            set(velquor_req_hint ", or configure with -D${velquor_req_OFF}=OFF")
        endif()
        message(FATAL_ERROR "${velquor_req_what} not found, needed for ${velquor_req_FOR}: "
                            "install ${velquor_req_INSTALL}${velquor_req_hint}")
    endif()
endmacro()

# Sources are listed file by file in each folder's CMakeLists.txt. A listed file that is missing
# stops the configure step here, named with the list it is missing from; a file that is there
# but not listed is simply not built, so a new file is added to its folder's list.
function(velquor_check_listed_sources dir)
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(sources ${target} SOURCES)
        get_target_property(target_dir ${target} SOURCE_DIR)
        if(NOT sources)
            continue()
        endif()
        foreach(source IN LISTS sources)
            if(source MATCHES "\\$<")
                continue() # generator expressions name files of the build
            endif()
            cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${target_dir} NORMALIZE)
            cmake_path(IS_PREFIX CMAKE_BINARY_DIR ${source} generated)
            if(NOT generated AND NOT EXISTS ${source})
                file(RELATIVE_PATH file ${PROJECT_SOURCE_DIR} ${source})
                file(RELATIVE_PATH list ${PROJECT_SOURCE_DIR} ${target_dir}/CMakeLists.txt)
                set_property(GLOBAL APPEND PROPERTY velquor_missing_sources
                             "  ${file} (a source of ${target}, listed in ${list})")
            endif()
        endforeach()
    endforeach()
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(subdir IN LISTS subdirs)
        velquor_check_listed_sources(${subdir})
    endforeach()
endfunction()
