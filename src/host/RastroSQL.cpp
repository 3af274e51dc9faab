#include "host/RastroSQL.h"

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "base/DateTime.h"
#include "base/Erros.h"
#include "host/Database.h"
#include "host/SQLParams.h"

namespace {
// O valor como foi ligado ao comando: datas em ISO, como os backends as enviam.
nlohmann::ordered_json ValorJson(const TVariant& AValor) {
  if (auto* i = std::get_if<int64_t>(&AValor)) return *i;
  if (auto* d = std::get_if<double>(&AValor)) return *d;
  if (auto* s = std::get_if<std::string>(&AValor)) return *s;
  if (auto* dt = std::get_if<TVarDate>(&AValor)) return DataISO(dt->Valor);
  if (auto* b = std::get_if<bool>(&AValor)) return *b;
  return nullptr;
}
}  // namespace

size_t TRastroSQL::Iniciar(const std::string& ASQL, const TParams& AValores) {
  FEntradas.push_back(TEntrada{ASQL, AValores, 0, 0});
  return FEntradas.size() - 1;
}

std::string TRastroSQL::ComoLinhasJson() const {
  std::string saida;
  for (const auto& e : FEntradas) {
    nlohmann::ordered_json linha;
    linha["sql"] = e.SQL;
    // Os valores vão aos nomes distintos na ordem da primeira ocorrência; se a contagem não
    // fecha (a consulta falhou por isso), ficam como lista.
    const auto nomes = AnalisarParametros(e.SQL).Nomes;
    if (nomes.size() == e.Valores.size()) {
      auto params = nlohmann::ordered_json::object();
      for (size_t i = 0; i < nomes.size(); ++i) params[nomes[i]] = ValorJson(e.Valores[i]);
      linha["parametros"] = std::move(params);
    } else {
      auto params = nlohmann::ordered_json::array();
      for (const auto& v : e.Valores) params.push_back(ValorJson(v));
      linha["parametros"] = std::move(params);
    }
    linha["linhas"] = e.Linhas;
    linha["ms"] = std::round(e.Ms * 1000.0) / 1000.0;
    saida += linha.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    saida += '\n';
  }
  return saida;
}

void TRastroSQL::Gravar(const std::string& AArquivo) const {
  const std::filesystem::path destino(AArquivo);
  const std::filesystem::path temp = destino.string() + ".tmp-pisco";
  {
    std::ofstream f(temp, std::ios::binary | std::ios::trunc);
    if (!f) throw EEntradaInvalida("Não foi possível criar o arquivo do rastro SQL: " + AArquivo);
    f << ComoLinhasJson();
    f.close();
    if (!f) {
      std::filesystem::remove(temp);
      throw EPisco("Falha ao gravar o rastro SQL: " + AArquivo);
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, destino, ec);
  if (ec) {
    std::filesystem::remove(temp);
    throw EPisco("Falha ao gravar o rastro SQL " + AArquivo + ": " + ec.message());
  }
}

TRastroComando::TRastroComando(TDatabase& ABanco, const std::string& ASQL, const TParams& AValores)
    : FRastro(ABanco.Rastro()) {
  if (!FRastro) return;
  FIndice = FRastro->Iniciar(ASQL, AValores);
  FInicio = TRastroSQL::AgoraNs();
}

void TRastroComando::Concluir(int64_t ALinhas) {
  if (!FRastro) return;
  auto& e = FRastro->Entrada(FIndice);
  e.Linhas = ALinhas;
  e.Ms = static_cast<double>(TRastroSQL::AgoraNs() - FInicio) / 1e6;
}

int64_t TRastroSQL::AgoraNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}
