if(KV_SANITIZE)
  set(_kv_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${_kv_san})
  add_link_options(${_kv_san})
endif()

# Sample models and notes shared with the project; never changed in place.
if(NOT KV_SHARED_DIR)
  get_filename_component(KV_SHARED_DIR ${CMAKE_SOURCE_DIR}/../shared ABSOLUTE)
endif()
set(KV_SHARED_DIR ${KV_SHARED_DIR} CACHE PATH "Folder of shared sample models")
