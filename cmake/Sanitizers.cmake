if(VELMORA_SANITIZE AND VELMORA_TSAN)
  message(FATAL_ERROR "VELMORA_SANITIZE and VELMORA_TSAN cannot be combined")
endif()
if(VELMORA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
  # The project's host keeps modules mapped after unloading them: blocks that the libraries a
  # module brings in allocate once and keep would otherwise read as leaks once unmapped.
  add_compile_definitions(VELMORA_HOST_KEEPS_MODULES_MAPPED)
endif()
if(VELMORA_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
