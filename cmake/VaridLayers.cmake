# Layers the build enforces: see src/CMakeLists.txt for the layers and what each may use.

# Include folders of the layers live here: include/<layer>/<layer> is a link to src/<layer>.
set(VARID_LAYER_INCLUDE_ROOT ${CMAKE_BINARY_DIR}/layers)

# varid_layer(<target> <folder> [DEPENDS <layer target>...] [LIBRARIES <other library>...])
# A static library of every .cpp and .h below src/<folder>, whose include path shows that folder
# and, through DEPENDS (linked PUBLIC), the folders of the layers below it.
function(varid_layer target folder)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "DEPENDS;LIBRARIES")
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp
       ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.h)
  add_library(${target} STATIC ${sources})
  set(include_dir ${VARID_LAYER_INCLUDE_ROOT}/include/${folder})
  file(MAKE_DIRECTORY ${include_dir})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${folder} ${include_dir}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${include_dir})
  target_link_libraries(${target} PUBLIC ${arg_DEPENDS} ${arg_LIBRARIES})
  varid_warnings(${target})
  set_property(GLOBAL APPEND PROPERTY VARID_LAYERS ${folder})
  set_property(GLOBAL PROPERTY VARID_LAYER_TARGET_${folder} ${target})
  set_property(GLOBAL PROPERTY VARID_LAYER_DIR_${folder} ${CMAKE_CURRENT_SOURCE_DIR})
endfunction()

# varid_refuse_qt(<target> <module>...): an include of any header of the Qt modules (Widgets,
# Gui) stops the build of the target's own sources, also in the qualified form <QtWidgets/QWidget>
# that the Qt include root would otherwise find: every header of a module includes its
# <QtModule/qtmoduleglobal.h>, which a folder searched before Qt's finds here first.
function(varid_refuse_qt target)
  foreach(module IN LISTS ARGN)
    string(TOLOWER ${module} lower)
    set(dir ${CMAKE_BINARY_DIR}/refused-qt/${module})
    file(CONFIGURE OUTPUT ${dir}/Qt${module}/qt${lower}global.h CONTENT
         "#error \"Qt ${module} is not for this target: the GUI-free core and its tests build without it\"\n")
    target_include_directories(${target} BEFORE PRIVATE ${dir})
  endforeach()
endfunction()

# The layer targets whose include folders a target's own sources see: what it links, and what
# those link PUBLIC (or INTERFACE), in turn. A dependency a library keeps to itself ($<LINK_ONLY:>)
# gives its users no include folder and is not followed.
function(varid_reachable_layers target out)
  get_property(layers GLOBAL PROPERTY VARID_LAYERS)
  set(layer_targets)
  foreach(layer IN LISTS layers)
    get_property(t GLOBAL PROPERTY VARID_LAYER_TARGET_${layer})
    list(APPEND layer_targets ${t})
  endforeach()
  get_target_property(pending ${target} LINK_LIBRARIES)
  set(seen)
  set(result)
  while(pending)
    list(POP_FRONT pending item)
    if(NOT TARGET "${item}" OR item MATCHES "::" OR item IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${item})
    if(item IN_LIST layer_targets)
      list(APPEND result ${item})
    endif()
    get_target_property(next ${item} INTERFACE_LINK_LIBRARIES)
    if(next)
      list(APPEND pending ${next})
    endif()
  endwhile()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# varid_layer_probe(<target> [OWN <layer>]): adds to the target a source that asks the
# preprocessor, for one header of every layer, whether an include of it would be found, and stops
# the build where the answer differs from what the target links (and its own layer, OWN). The probe
# is compiled as the target's other sources are, with everything else, so a way round the layers
# (an include folder that shows more, a layer nobody declared) fails the build at once.
function(varid_layer_probe target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "OWN" "")
  get_property(layers GLOBAL PROPERTY VARID_LAYERS)
  varid_reachable_layers(${target} reachable)
  set(text "// Which layers an include in ${target} finds (written by the build).\n")
  foreach(layer IN LISTS layers)
    get_property(layer_target GLOBAL PROPERTY VARID_LAYER_TARGET_${layer})
    get_property(root GLOBAL PROPERTY VARID_LAYER_DIR_${layer})
    file(GLOB_RECURSE headers RELATIVE ${root} ${root}/${layer}/*.h)
    list(SORT headers)
    list(GET headers 0 header)
    if(layer_target IN_LIST reachable OR layer STREQUAL arg_OWN)
      string(APPEND text "#if !__has_include(\"${header}\")\n"
             "#error \"${target} uses ${layer}, but an include of ${header} finds no file\"\n#endif\n")
    else()
      string(APPEND text "#if __has_include(\"${header}\")\n"
             "#error \"${target} does not use ${layer}, but an include of ${header} finds it\"\n#endif\n")
    endif()
  endforeach()
  set(probe ${VARID_LAYER_INCLUDE_ROOT}/probes/${target}.cpp)
  file(CONFIGURE OUTPUT ${probe} CONTENT "${text}" @ONLY)
  target_sources(${target} PRIVATE ${probe})
endfunction()

# A probe in every layer, once all of them are declared.
function(varid_layer_probes)
  get_property(layers GLOBAL PROPERTY VARID_LAYERS)
  foreach(layer IN LISTS layers)
    get_property(target GLOBAL PROPERTY VARID_LAYER_TARGET_${layer})
    varid_layer_probe(${target} OWN ${layer})
  endforeach()
endfunction()
