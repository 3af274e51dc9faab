# Roda dentro do cmake --install.  Copia os cabeçalhos públicos para include/pisco/ trocando
# #include "base/X.h" por #include "pisco/base/X.h": no host, só include/ entra no caminho
# de busca e nenhum nome genérico (base/, host/, output/) colide com os dele.  Só as linhas de
# include mudam, então os números de linha batem com os das fontes.
#
# Entradas: PISCO_LISTA_CABECALHOS (arquivo com um caminho relativo por linha), PISCO_RAIZES
# (src/ e a pasta dos cabeçalhos gerados, procuradas nessa ordem), PISCO_PASTAS_PUBLICAS,
# PISCO_INCLUDEDIR e PISCO_TEMP (pasta de trabalho).
file(STRINGS "${PISCO_LISTA_CABECALHOS}" cabecalhos)
list(JOIN PISCO_PASTAS_PUBLICAS "|" pastas)
foreach(rel IN LISTS cabecalhos)
  foreach(raiz IN LISTS PISCO_RAIZES)
    if(EXISTS "${raiz}/${rel}")
      file(READ "${raiz}/${rel}" texto)
      break()
    endif()
  endforeach()
  string(REGEX REPLACE "(#[ \t]*include[ \t]*)\"(${pastas})/" "\\1\"pisco/\\2/" texto "${texto}")
  file(WRITE "${PISCO_TEMP}/${rel}" "${texto}")
  get_filename_component(pasta "${rel}" DIRECTORY)
  file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${PISCO_INCLUDEDIR}/pisco/${pasta}"
       TYPE FILE FILES "${PISCO_TEMP}/${rel}")
endforeach()
