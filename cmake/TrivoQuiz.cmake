# trivo_quiz_program(NAME QUIZ_FILE MEDIA_DIR): a player program carrying one quiz. The quiz's
# description is turned into its two resources (scripts/quiz-content.sh), packed with the native
# trivo-make, and linked with the player and its media: IMG 400 + q from MEDIA_DIR/q<q>.*, answer
# pictures IMG 10400 + q from MEDIA_DIR/a<q>.*.
function(trivo_quiz_program name quiz_file media_dir)
  if(NOT TRIVO_NATIVE_TOOL OR NOT TRIVO_PLAYER_RC)
    message(STATUS "TRIVO_NATIVE_TOOL or the player's resources missing: quiz program ${name} is not built")
    return()
  endif()
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${name}-resources)
  file(MAKE_DIRECTORY ${dir})
  add_custom_command(
    OUTPUT ${dir}/content.lzw ${dir}/codes.lzw
    COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/quiz-content.sh ${quiz_file} ${dir}
    COMMAND ${TRIVO_NATIVE_TOOL} pack ${dir}/content.bin ${dir}/content.lzw
    COMMAND ${TRIVO_NATIVE_TOOL} pack ${dir}/codes.bin ${dir}/codes.lzw
    DEPENDS ${quiz_file} ${CMAKE_SOURCE_DIR}/scripts/quiz-content.sh ${TRIVO_NATIVE_TOOL}
    COMMENT "Packing quiz ${name}")

  set(rc "104 PATCH \"${dir}/content.lzw\"\n105 PATCH \"${dir}/codes.lzw\"\n")
  file(GLOB media ${media_dir}/q*.jpg ${media_dir}/q*.gif ${media_dir}/q*.mp3 ${media_dir}/q*.avi
       ${media_dir}/a*.jpg ${media_dir}/a*.gif)
  foreach(file ${media})
    get_filename_component(base ${file} NAME_WE)
    string(SUBSTRING ${base} 0 1 prefix)
    string(SUBSTRING ${base} 1 -1 number)
    if(prefix STREQUAL "q")
      math(EXPR id "400 + ${number}")
    else()
      math(EXPR id "10400 + ${number}")
    endif()
    string(APPEND rc "${id} IMG \"${file}\"\n")
  endforeach()
  file(WRITE ${dir}/quiz.rc.in "${rc}")
  configure_file(${dir}/quiz.rc.in ${dir}/quiz.rc COPYONLY)
  set_source_files_properties(${dir}/quiz.rc PROPERTIES OBJECT_DEPENDS "${dir}/content.lzw;${dir}/codes.lzw;${media}")

  add_executable(${name} WIN32 ${CMAKE_SOURCE_DIR}/app/main.cpp ${TRIVO_PLAYER_RC} ${dir}/quiz.rc)
  target_link_libraries(${name} PRIVATE trivo_player)
  target_link_options(${name} PRIVATE -mwindows)
endfunction()
