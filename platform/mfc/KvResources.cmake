# kv_add_resources(target file.rc): compiles a resource script with
# tools/rc.py into a C++ source that carries the resources inside `target`
# (a module or the program itself), where FindResourceW finds them.
set(KV_RC_TOOL ${CMAKE_CURRENT_LIST_DIR}/tools/rc.py CACHE INTERNAL "")
set(KV_RC_INCLUDE ${CMAKE_CURRENT_LIST_DIR}/include CACHE INTERNAL "")

function(kv_add_resources target rcfile)
  get_filename_component(_rc ${rcfile} ABSOLUTE)
  get_filename_component(_name ${rcfile} NAME_WE)
  get_filename_component(_dir ${_rc} DIRECTORY)
  set(_out ${CMAKE_CURRENT_BINARY_DIR}/${target}_${_name}_rc.cpp)
  set(_dep ${CMAKE_CURRENT_BINARY_DIR}/${target}_${_name}_rc.d)
  add_custom_command(
    OUTPUT ${_out}
    COMMAND /usr/bin/python3 ${KV_RC_TOOL} -I ${_dir} -I ${KV_RC_INCLUDE} -o ${_out} --depfile ${_dep} ${_rc}
    DEPENDS ${_rc} ${KV_RC_TOOL}
    DEPFILE ${_dep}
    COMMENT "Compiling resources ${rcfile}"
    VERBATIM)
  target_sources(${target} PRIVATE ${_out})
  target_include_directories(${target} PRIVATE ${KV_RC_INCLUDE})
  get_target_property(_type ${target} TYPE)
  if(_type STREQUAL "EXECUTABLE")
    # The program's resources are looked up in its dynamic symbols.
    target_link_options(${target} PRIVATE "LINKER:--export-dynamic-symbol=KvModuleResources")
  endif()
endfunction()
