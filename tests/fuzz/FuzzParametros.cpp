// Alvo libFuzzer: o analisador de :NOME e a adaptação de CAST não quebram nem inventam nomes.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/Erros.h"
#include "host/SQLParams.h"

namespace {
void Conferir(bool ok) {
  if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho) {
  const std::string sql(reinterpret_cast<const char*>(dados), tamanho);
  const TSQLAnalisado a = AnalisarParametros(sql);
  size_t fim = 0;
  for (const auto& o : a.Ocorrencias) {
    Conferir(o.Inicio >= fim && o.Inicio + o.Tamanho <= sql.size() && sql[o.Inicio] == ':');
    Conferir(o.Indice >= 0 && static_cast<size_t>(o.Indice) < a.Nomes.size());
    std::string nome = sql.substr(o.Inicio + 1, o.Tamanho - 1);
    for (auto& c : nome) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    Conferir(nome == a.Nomes[static_cast<size_t>(o.Indice)]);
    fim = o.Inicio + o.Tamanho;
  }
  // trocar por marcadores tira todos os nomes
  for (TDialeto d : {TDialeto::dSQLite, TDialeto::dPostgreSQL})
    Conferir(AnalisarParametros(TrocarParametros(sql, a, d)).Nomes.empty());
  try {
    ConferirQuantidadeParametros(a, a.Nomes.size(), sql);
  } catch (...) {
    std::abort();
  }
  // a reescrita de CAST não muda os parâmetros
  try {
    Conferir(AnalisarParametros(AdaptarCastNumeric(sql)).Nomes == a.Nomes);
  } catch (const EBancoDados&) {
    // aninhamento excessivo é recusado com mensagem
  }
  return 0;
}
