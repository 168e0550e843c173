# Install rules. They run after every target's own rule, so the manifest written last covers
# the files as installed (stripped, when the install strips).
#
# Layout: one program folder, QUENMAR_PROGRAM_DIR beneath the prefix, holds quenmar,
# quenmar-cli, the help book and quenmar.sha256. Keeping them together is what lets both
# programs find each other's history, the desktop program find its help book beside itself
# and the start-up check find its manifest; the programs locate that folder from their own
# executable, so a link to them works anywhere. The desktop entry, the AppStream metadata,
# the icons, the manual pages, the completion and the licence go to share/ as on any
# freedesktop system.
#
#   cmake --install build/program --prefix ~/Quenmar   the program folder is ~/Quenmar itself
#   the package preset (Debian)                       /usr/lib/quenmar, with links in /usr/bin
#
# QUENMAR_COMMAND_DIR, when set, gets a link to each program, and the desktop entry then
# starts the program by its command name; otherwise the entry names the program's full path.
set(QUENMAR_COMMAND_DIR "" CACHE STRING "Folder beneath the install prefix for links to the programs (empty: none)")

if(TARGET quenmar)
    install(TARGETS quenmar RUNTIME DESTINATION ${QUENMAR_PROGRAM_DIR})
endif()
install(FILES ${PROJECT_SOURCE_DIR}/resources/help/index.html ${PROJECT_SOURCE_DIR}/resources/help/help.css
        DESTINATION ${QUENMAR_PROGRAM_DIR}/help)

set(quenmar_desktop_id io.github.quenmar.Quenmar)
set(quenmar_generated ${CMAKE_BINARY_DIR}/generated)

# The icon: our SVG, and PNGs in the hicolor sizes rendered from it, for the desktops and menus
# that do not read SVG.
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/quenmar.svg DESTINATION share/icons/hicolor/scalable/apps)
find_program(QUENMAR_RSVG_CONVERT rsvg-convert)
if(QUENMAR_RSVG_CONVERT)
    set(icon_outputs "")
    foreach(size 16 22 24 32 48 64 128 256)
        set(png ${quenmar_generated}/icons/${size}x${size}/quenmar.png)
        add_custom_command(
            OUTPUT ${png}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${quenmar_generated}/icons/${size}x${size}
            COMMAND ${QUENMAR_RSVG_CONVERT} --width ${size} --height ${size} --output ${png}
                    ${PROJECT_SOURCE_DIR}/resources/icons/quenmar.svg
            DEPENDS ${PROJECT_SOURCE_DIR}/resources/icons/quenmar.svg
            COMMENT "Rendering the ${size} px icon")
        list(APPEND icon_outputs ${png})
        install(FILES ${png} DESTINATION share/icons/hicolor/${size}x${size}/apps)
    endforeach()
    add_custom_target(icons ALL DEPENDS ${icon_outputs})
else()
    message(WARNING "rsvg-convert (Debian librsvg2-bin) is missing: only the SVG icon is installed")
endif()

# Manual pages and the changelog, compressed as Debian wants them: gzip -9 without a name or a
# time stamp, so that the same source always gives the same bytes.
find_program(QUENMAR_GZIP gzip REQUIRED)
file(MAKE_DIRECTORY ${quenmar_generated}/man ${quenmar_generated}/doc)
function(quenmar_gzipped source output)
    add_custom_command(
        OUTPUT ${output}
        COMMAND ${QUENMAR_GZIP} -9nc ${source} > ${output}
        DEPENDS ${source}
        VERBATIM)
endfunction()
set(compressed "")
foreach(page quenmar quenmar-cli)
    # The pages carry the version of this build.
    configure_file(${PROJECT_SOURCE_DIR}/resources/man/${page}.1 ${quenmar_generated}/man/${page}.1 @ONLY)
    quenmar_gzipped(${quenmar_generated}/man/${page}.1 ${quenmar_generated}/man/${page}.1.gz)
    list(APPEND compressed ${quenmar_generated}/man/${page}.1.gz)
    install(FILES ${quenmar_generated}/man/${page}.1.gz DESTINATION share/man/man1)
endforeach()
quenmar_gzipped(${PROJECT_SOURCE_DIR}/resources/debian/changelog ${quenmar_generated}/doc/changelog.gz)
list(APPEND compressed ${quenmar_generated}/doc/changelog.gz)
add_custom_target(compressed_docs ALL DEPENDS ${compressed})
install(FILES ${quenmar_generated}/doc/changelog.gz ${PROJECT_SOURCE_DIR}/resources/debian/copyright
        DESTINATION share/doc/quenmar)

# What lintian is told to accept, each entry with its reason; only the package needs it.
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
    install(FILES ${PROJECT_SOURCE_DIR}/resources/debian/lintian-overrides DESTINATION share/lintian/overrides
            RENAME quenmar)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/${quenmar_desktop_id}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/resources/completion/quenmar-cli
        DESTINATION share/bash-completion/completions)

set(QUENMAR_DESKTOP_EXEC "@QUENMAR_DESKTOP_EXEC@") # kept for the install-time replacement
string(CONFIGURE [[
    set(program_dir "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/@QUENMAR_PROGRAM_DIR@")
    file(REAL_PATH "${program_dir}" program_dir)
    set(command_dir "@QUENMAR_COMMAND_DIR@")

    # Links to the programs, relative so that they hold inside a staging folder too.
    if(command_dir)
        set(link_dir "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${command_dir}")
        file(MAKE_DIRECTORY "${link_dir}")
        file(RELATIVE_PATH target_dir "${link_dir}" "${program_dir}")
        foreach(program quenmar quenmar-cli)
            if(EXISTS "${program_dir}/${program}")
                file(CREATE_LINK "${target_dir}/${program}" "${link_dir}/${program}" SYMBOLIC)
                message(STATUS "Installing: ${link_dir}/${program} -> ${target_dir}/${program}")
            endif()
        endforeach()
        set(exec_path "quenmar")
    else()
        # The desktop entry names the installed program, wherever the prefix was chosen.
        set(exec_path "${CMAKE_INSTALL_PREFIX}/@QUENMAR_PROGRAM_DIR@/quenmar")
        file(REAL_PATH "${exec_path}" exec_path)
        set(exec_path "\"${exec_path}\"")
    endif()
    set(entry_file "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share/applications/@quenmar_desktop_id@.desktop")
    file(READ "@PROJECT_SOURCE_DIR@/resources/desktop/@quenmar_desktop_id@.desktop.in" entry)
    string(REPLACE "@QUENMAR_DESKTOP_EXEC@" "${exec_path}" entry "${entry}")
    file(WRITE "${entry_file}" "${entry}")
    message(STATUS "Installing: ${entry_file}")

    # A stripping install also drops the compilers' notes, as Debian's own packages do.
    if(CMAKE_INSTALL_DO_STRIP)
        foreach(program quenmar quenmar-cli)
            if(EXISTS "${program_dir}/${program}")
                execute_process(COMMAND "@CMAKE_STRIP@" --remove-section=.comment --remove-section=.note
                                        "${program_dir}/${program}" COMMAND_ERROR_IS_FATAL ANY)
            endif()
        endforeach()
    endif()

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
