# Builds the layers of src/ as the table src/layers.txt gives them: one library a
# layer, whose include root holds only that layer's folder, linked to the layers it
# may include. An include of a layer the table does not allow then fails to compile.

set(LEXALOOM_LAYER_TABLE ${CMAKE_SOURCE_DIR}/src/layers.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${LEXALOOM_LAYER_TABLE})

# LEXALOOM_LAYERS: the layers in table order; LEXALOOM_USES_<layer>: what each may use.
file(STRINGS ${LEXALOOM_LAYER_TABLE} table_lines REGEX "^[a-z_/]+:")
set(LEXALOOM_LAYERS "")
foreach(line ${table_lines})
    string(REGEX MATCH "^([a-z_/]+):(.*)$" _ "${line}")
    set(layer ${CMAKE_MATCH_1})
    string(STRIP "${CMAKE_MATCH_2}" uses)
    separate_arguments(uses)
    list(APPEND LEXALOOM_LAYERS ${layer})
    set(LEXALOOM_USES_${layer} ${uses})
endforeach()

function(lexaloom_layer_target layer out)
    string(REPLACE "/" "_" name ${layer})
    set(${out} lexaloom_${name} PARENT_SCOPE)
endfunction()

# The layers `layer` may use, wildcards expanded, the layer itself left out.
function(lexaloom_layer_uses layer out)
    set(result "")
    foreach(use ${LEXALOOM_USES_${layer}})
        if(use MATCHES "^(core|gui)/\\*$")
            set(floor ${CMAKE_MATCH_1})
            foreach(candidate ${LEXALOOM_LAYERS})
                if(candidate MATCHES "^${floor}/" AND NOT candidate STREQUAL layer)
                    list(APPEND result ${candidate})
                endif()
            endforeach()
        else()
            list(APPEND result ${use})
        endif()
    endforeach()
    set(${out} ${result} PARENT_SCOPE)
endfunction()

# Gives `target` the include root of `layer`: a folder of its own in which only
# src/<layer> appears, as "<layer>/...".
function(lexaloom_layer_include_root target layer)
    string(REPLACE "/" "_" name ${layer})
    set(root ${CMAKE_BINARY_DIR}/layers/${name})
    get_filename_component(parent ${root}/${layer} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    if(NOT IS_SYMLINK ${root}/${layer})
        file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${layer} ${root}/${layer} SYMBOLIC)
    endif()
    target_include_directories(${target} PUBLIC ${root})
endfunction()

# The layer rules are part of every build: an include against the table fails it,
# also one the compiler would find through a "../" path.
if(NOT TARGET check_layers)
    add_custom_target(check_layers COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-layers.sh
        WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} VERBATIM)
endif()

# A library for each layer of `prefix` (core or gui) that exists as a folder.
function(lexaloom_add_layers prefix)
    foreach(layer ${LEXALOOM_LAYERS})
        if(NOT layer MATCHES "^${prefix}/" OR NOT IS_DIRECTORY ${CMAKE_SOURCE_DIR}/src/${layer})
            continue()
        endif()
        lexaloom_layer_target(${layer} target)
        file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${layer}/*.cpp
            ${CMAKE_SOURCE_DIR}/src/${layer}/*.h)
        list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
        add_library(${target} STATIC ${sources})
        add_dependencies(${target} check_layers)
        lexaloom_layer_include_root(${target} ${layer})
        lexaloom_layer_uses(${layer} uses)
        foreach(use ${uses})
            if(IS_DIRECTORY ${CMAKE_SOURCE_DIR}/src/${use})
                lexaloom_layer_target(${use} used)
                target_link_libraries(${target} PUBLIC ${used})
            endif()
        endforeach()
    endforeach()
endfunction()

# Precompiled headers: the Qt and standard headers most files of a floor include,
# compiled once for the floor's ground layer and reused by the other layers (their
# flags are the same). A cold build then parses them a few times, not 200.
set(LEXALOOM_CORE_PCH <QString> <QStringView> <QStringList> <QByteArray> <QList> <QHash> <QFile>
    <QDir> <QFileInfo> <algorithm> <functional> <memory> <optional> <utility> <vector>)
set(LEXALOOM_GUI_PCH ${LEXALOOM_CORE_PCH} <QApplication> <QWidget> <QLabel> <QPushButton>
    <QHBoxLayout> <QVBoxLayout> <QGridLayout> <QTreeWidget> <QPlainTextEdit> <QLineEdit> <QProgressBar>
    <QHeaderView> <QMenu> <QKeyEvent>)

# The layers of `prefix` share the precompiled headers of its shell layer.
function(lexaloom_layers_precompile prefix)
    if(NOT LEXALOOM_PCH)
        return()
    endif()
    string(TOUPPER ${prefix} floor)
    foreach(layer ${LEXALOOM_LAYERS})
        if(NOT layer MATCHES "^${prefix}/" OR NOT IS_DIRECTORY ${CMAKE_SOURCE_DIR}/src/${layer})
            continue()
        endif()
        lexaloom_layer_target(${layer} target)
        if(layer STREQUAL "${prefix}/shell")
            target_precompile_headers(${target} PRIVATE ${LEXALOOM_${floor}_PCH})
        else()
            target_precompile_headers(${target} REUSE_FROM lexaloom_${prefix}_shell)
        endif()
    endforeach()
endfunction()
