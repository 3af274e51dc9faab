# Instalação da libpisco: biblioteca estática, cabeçalhos públicos em include/pisco/, o
# programa pisco, o pacote CMake (find_package(pisco) → pisco::pisco) e o pisco.pc.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set_target_properties(pisco_lib PROPERTIES OUTPUT_NAME pisco EXPORT_NAME pisco)
add_library(pisco::pisco ALIAS pisco_lib)

# Versão: cabeçalho gerado de project(pisco VERSION ...).
set(PISCO_GERADO ${CMAKE_BINARY_DIR}/gerado)
configure_file(${CMAKE_CURRENT_LIST_DIR}/Versao.h.in ${PISCO_GERADO}/base/Versao.h @ONLY)
target_include_directories(pisco_lib PUBLIC $<BUILD_INTERFACE:${PISCO_GERADO}>
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)

# Cabeçalhos públicos: regra por pasta, para que unidades novas entrem sem editar este
# arquivo.  Tudo abaixo destas pastas de src/ é instalado, menos os internos do host listados.
set(PISCO_PASTAS_PUBLICAS base host blocom credits extra blocks output)
set(PISCO_CABECALHOS_INTERNOS
  host/Backends.h)  # fábricas dos backends: o host usa TDatabase::Conectar
set(PISCO_CABECALHOS base/Versao.h)
foreach(pasta IN LISTS PISCO_PASTAS_PUBLICAS)
  file(GLOB_RECURSE achados CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/src
    ${CMAKE_SOURCE_DIR}/src/${pasta}/*.h)
  list(APPEND PISCO_CABECALHOS ${achados})
endforeach()
list(REMOVE_ITEM PISCO_CABECALHOS ${PISCO_CABECALHOS_INTERNOS})
list(SORT PISCO_CABECALHOS)
# A lista sai num arquivo: a instalação e scripts/verificar-instalacao leem a mesma regra.
list(JOIN PISCO_CABECALHOS "\n" texto)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/pisco-cabecalhos.txt CONTENT "${texto}\n")

install(CODE "
  set(PISCO_LISTA_CABECALHOS \"${CMAKE_BINARY_DIR}/pisco-cabecalhos.txt\")
  set(PISCO_RAIZES \"${CMAKE_SOURCE_DIR}/src;${PISCO_GERADO}\")
  set(PISCO_PASTAS_PUBLICAS \"${PISCO_PASTAS_PUBLICAS}\")
  set(PISCO_INCLUDEDIR \"${CMAKE_INSTALL_INCLUDEDIR}\")
  set(PISCO_TEMP \"${CMAKE_BINARY_DIR}/cabecalhos-instalados\")
  include(\"${CMAKE_CURRENT_LIST_DIR}/InstalarCabecalhos.cmake\")")

install(TARGETS pisco_lib EXPORT piscoTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS pisco RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(PISCO_DESTINO_CMAKE ${CMAKE_INSTALL_LIBDIR}/cmake/pisco)
install(EXPORT piscoTargets NAMESPACE pisco:: DESTINATION ${PISCO_DESTINO_CMAKE})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/piscoConfig.cmake.in
  ${CMAKE_BINARY_DIR}/piscoConfig.cmake INSTALL_DESTINATION ${PISCO_DESTINO_CMAKE})
# Antes da 1.0 uma versão menor nova pode mudar a interface.
write_basic_package_version_file(${CMAKE_BINARY_DIR}/piscoConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/piscoConfig.cmake ${CMAKE_BINARY_DIR}/piscoConfigVersion.cmake
  DESTINATION ${PISCO_DESTINO_CMAKE})

file(RELATIVE_PATH PISCO_PC_PREFIXO /prefixo/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefixo)
string(REGEX REPLACE "/$" "" PISCO_PC_PREFIXO "${PISCO_PC_PREFIXO}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/pisco.pc.in ${CMAKE_BINARY_DIR}/pisco.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/pisco.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
