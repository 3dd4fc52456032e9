if(KV_SANITIZE)
  set(_kv_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${_kv_san})
  add_link_options(${_kv_san})
endif()

# The test data carried by the project (sample models with their origins in
# testdata/models/README.md); never changed in place.
set(KV_TEST_DATA ${CMAKE_SOURCE_DIR}/testdata CACHE PATH "Folder of the test data")
