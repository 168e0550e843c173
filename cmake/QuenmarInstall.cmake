# Install rules of the program folder. They run after every target's own rule, so the
# manifest written last covers the files as installed.
if(TARGET quenmar)
    install(TARGETS quenmar RUNTIME DESTINATION ${QUENMAR_PROGRAM_DIR})
endif()
install(FILES ${PROJECT_SOURCE_DIR}/resources/help/index.html ${PROJECT_SOURCE_DIR}/resources/help/help.css
        DESTINATION ${QUENMAR_PROGRAM_DIR}/help)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/quenmar.svg DESTINATION share/icons/hicolor/scalable/apps)

set(QUENMAR_DESKTOP_EXEC "@QUENMAR_DESKTOP_EXEC@") # kept for the install-time replacement
string(CONFIGURE [[
    set(program_dir "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/@QUENMAR_PROGRAM_DIR@")
    file(REAL_PATH "${program_dir}" program_dir)
    # The desktop entry names the installed program, wherever the prefix was chosen.
    set(exec_path "${CMAKE_INSTALL_PREFIX}/@QUENMAR_PROGRAM_DIR@/quenmar")
    file(REAL_PATH "${exec_path}" exec_path)
    file(READ "@PROJECT_SOURCE_DIR@/resources/desktop/quenmar.desktop.in" entry)
    string(REPLACE "@QUENMAR_DESKTOP_EXEC@" "${exec_path}" entry "${entry}")
    file(WRITE "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share/applications/quenmar.desktop" "${entry}")
    message(STATUS "Installing: $ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share/applications/quenmar.desktop")

    # The manifest of the program's own files, checked at every start.
    set(manifest "")
    foreach(file quenmar quenmar-cli help/index.html help/help.css)
        if(EXISTS "${program_dir}/${file}")
            file(SHA256 "${program_dir}/${file}" sum)
            string(APPEND manifest "${sum}  ${file}\n")
        endif()
    endforeach()
    file(WRITE "${program_dir}/quenmar.sha256" "${manifest}")
    message(STATUS "Installing: ${program_dir}/quenmar.sha256")
]] quenmar_install_script @ONLY)
install(CODE "${quenmar_install_script}")
