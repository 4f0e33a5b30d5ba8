# vq_embed_resources(<target> <dir>...): an object library holding every <dir>/<id>[-name].bmp as an id -> bytes
# table, which the Linux backends load bitmaps from. Objects are always linked, so the backends' empty table is
# not. VQ_EMBED_TOOLKIT names the toolkit target whose headers the table includes (toolkit in this tree,
# Velquist::toolkit in the installed package).
set(VQ_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/embed_resources_script.cmake)
if(NOT DEFINED VQ_EMBED_TOOLKIT)
    set(VQ_EMBED_TOOLKIT toolkit)
endif()

function(vq_embed_resources target)
    set(files "")
    foreach(dir ${ARGN})
        file(GLOB found CONFIGURE_DEPENDS ${dir}/*.bmp)
        list(APPEND files ${found})
    endforeach()
    list(SORT files)
    set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_table.cpp)
    string(REPLACE ";" "|" joined "${files}")
    add_custom_command(
        OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -DOUT=${out} "-DFILES=${joined}" -P ${VQ_EMBED_SCRIPT}
        DEPENDS ${files} ${VQ_EMBED_SCRIPT}
        COMMENT "Embedding resources for ${target}"
        VERBATIM)
    add_library(${target} OBJECT ${out})
    target_link_libraries(${target} PRIVATE ${VQ_EMBED_TOOLKIT})
endfunction()
