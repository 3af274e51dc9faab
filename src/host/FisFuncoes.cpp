#include "host/FisFuncoes.h"

#include <cctype>

#include "base/Erros.h"
#include "host/Host.h"
#include "host/Servicos.h"
#include "base/Nutil.h"

namespace {

using Nutil::Aparar;

// Chave "4.3.05.51": tabela de três partes numéricas e um item alfanumérico.
bool SepararChave(const std::string& AChave, std::string& ATabela, std::string& AItem) {
  std::string t = Aparar(AChave);
  size_t p1 = t.find('.');
  size_t p2 = p1 == std::string::npos ? p1 : t.find('.', p1 + 1);
  size_t p3 = p2 == std::string::npos ? p2 : t.find('.', p2 + 1);
  if (p3 == std::string::npos || t.find('.', p3 + 1) != std::string::npos) return false;
  auto numerico = [&](size_t i, size_t f) {
    if (i >= f) return false;
    for (size_t k = i; k < f; ++k)
      if (!std::isdigit(static_cast<unsigned char>(t[k]))) return false;
    return true;
  };
  if (!numerico(0, p1) || !numerico(p1 + 1, p2) || !numerico(p2 + 1, p3) || p3 + 1 >= t.size())
    return false;
  for (size_t k = p3 + 1; k < t.size(); ++k)
    if (!std::isalnum(static_cast<unsigned char>(t[k]))) return false;
  ATabela = t.substr(0, p3);
  AItem = t.substr(p3 + 1);
  return true;
}

}  // namespace

std::string TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(const std::string& ACodigoTabSPED) {
  std::string tabela, item;
  return SepararChave(ACodigoTabSPED, tabela, item) ? item : Aparar(ACodigoTabSPED);
}

std::string TnFisFuncoes::GetTabelaSPEDTipoDebitoTipoCredito(const std::string& ACodigoTabSPED) {
  std::string tabela, item;
  return SepararChave(ACodigoTabSPED, tabela, item) ? tabela : "";
}

std::string TnFisFuncoes::GetCodigoTipoDebitoConversao(const std::string& ACodigoTabSPED) {
  std::string tabela, item;
  if (!SepararChave(ACodigoTabSPED, tabela, item)) return Aparar(ACodigoTabSPED);
  if (THost* h = THost::AtualOuNulo()) {
    const auto& conv = h->Servicos().ConversoesSPED();
    auto it = conv.find(tabela + "." + item);
    if (it != conv.end() && !Aparar(it->second).empty()) return Aparar(it->second);
  }
  if (tabela == "4.3.12") return "03";  // produtos por unidade de medida: contribuição "03"
  return item;
}

std::string TnFisFuncoes::MontarCodigoTabSPED(const std::string& ATabela, const std::string& AItem) {
  return Aparar(ATabela) + "." + Aparar(AItem);
}

TDateTime PegarDataApuracaoAnterior(TDateTime AData) { return StartOfTheMonth(IncMonth(DateOf(AData), -1)); }

void ValidarNomeColuna(const std::string& AColuna) {
  bool ok = !AColuna.empty() && !std::isdigit(static_cast<unsigned char>(AColuna[0]));
  for (char c : AColuna)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '.') ok = false;
  if (!ok) throw EEntradaInvalida("Nome de coluna inválido para filtro SQL: \"" + AColuna + "\"");
}

std::string GetFiltroIndProcRef(const std::string& AColuna) {
  ValidarNomeColuna(AColuna);
  // O cadastro de processos guarda também origens estaduais, que a EFD-Contribuições
  // não aceita; o CAST deixa o filtro igual para coluna numérica ou de texto.
  return " AND CAST(" + AColuna + " AS VARCHAR(2)) IN ('1', '3', '9') ";
}
