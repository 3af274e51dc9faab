// Alvo libFuzzer: FilterInterval aceita só a notação (e devolve condição limpa) ou recusa.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/Erros.h"
#include "host/Nutilinclusao.h"
#include "host/SQLParams.h"

namespace {
void Conferir(bool ok) {
  if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho) {
  const std::string texto(reinterpret_cast<const char*>(dados), tamanho);
  // Números: só dígitos, espaços, a coluna e as palavras da condição podem sair.
  try {
    const std::string r = FilterInterval({"L.CODIGOESTAB"}, texto);
    if (!r.empty()) {
      Conferir(r.rfind(" AND ", 0) == 0 && r.back() == ' ');
      std::string resto = r;
      for (const char* palavra : {"L.CODIGOESTAB", "BETWEEN", "AND", "OR", "IN"}) {
        for (size_t p; (p = resto.find(palavra)) != std::string::npos;) resto.replace(p, std::string(palavra).size(), " ");
      }
      for (char c : resto) Conferir((c >= '0' && c <= '9') || c == ' ' || c == '(' || c == ')' || c == ',' || c == '=');
    }
  } catch (const EEntradaInvalida&) {
  }
  // Textos: tudo vira literal entre aspas; nada escapa do literal.
  try {
    const std::string r = FilterInterval({"SUBSTR(NUMPROCREF, 1, 20)"}, texto, {tiExInclusao}, true, kFiltroTexto);
    Conferir(!TemSeparadorOuComentario(r));
    Conferir(AnalisarParametros(r).Nomes.empty());
  } catch (const EEntradaInvalida&) {
  }
  return 0;
}
