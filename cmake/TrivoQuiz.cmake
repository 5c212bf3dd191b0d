# trivo_quiz_program(NAME DIR): NAME.exe in the current build folder, a copy of the player carrying
# the quiz of the quiz folder DIR (its quiz.toml and the media it names), made by the native build's
# `trivo-make build`. The target NAME builds it; it is remade when the player or a file of DIR
# changes.
function(trivo_quiz_program name dir)
  if(NOT TRIVO_NATIVE_TOOL)
    message(STATUS "TRIVO_NATIVE_TOOL not set: quiz program ${name} is not built")
    return()
  endif()
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${dir}/*)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${name}.exe)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${TRIVO_NATIVE_TOOL} build ${dir} -o ${output} --player $<TARGET_FILE:trivo>
    DEPENDS trivo ${sources} ${TRIVO_NATIVE_TOOL}
    COMMENT "Building quiz program ${name}.exe from ${dir}"
    VERBATIM)
  add_custom_target(${name} ALL DEPENDS ${output})
endfunction()
