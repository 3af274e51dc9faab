#pragma once
// Controles fiscais do host além das opções de PIS/COFINS: apuração do IPI, contribuição
// previdenciária sobre a receita (códigos de receita por grupo de atividade) e a
// configuração geral do sistema (nConfig).
#include <map>
#include <optional>
#include <string>
#include <tuple>

#include "base/DateTime.h"

class THost;

// Apuração do IPI por empresa, estabelecimento e data (tabela OPCAOIPI).
// Sem empresa definida, segue a empresa, o estabelecimento e a data definidos em
// ControleOpcaoEFD(): o controle acompanha a empresa da execução corrente.
class TnUtilIPI {
 public:
  explicit TnUtilIPI(THost& AHost) : FHost(AHost) {}
  void SetCodigoEmpresa(int ACodigoEmpresa) { FCodigoEmpresa = ACodigoEmpresa; }
  void SetCodigoEstab(int ACodigoEstab) { FCodigoEstab = ACodigoEstab; }
  void SetData(TDateTime AData) { FData = DateOf(AData); }
  // Falso quando a empresa não tem linha de IPI em vigor (não contribuinte do IPI).
  bool GetApuraIPI();
  void LimparCache() { FCache.clear(); }

 private:
  THost& FHost;
  int FCodigoEmpresa = 0;
  int FCodigoEstab = 0;
  TDateTime FData = 0;
  std::map<std::tuple<int, int, std::string>, bool> FCache;
};

struct TLinhaContribPatronal {
  TDateTime DataInicial = 0;
  int CodigoImpostoTIC = 2985, VariacaoImpostoTIC = 1;
  int CodigoImpostoOUTROS = 2991, VariacaoImpostoOUTROS = 1;
  int CodigoImpostoComercio = 2991, VariacaoImpostoComercio = 2;
};

// Contribuição previdenciária sobre a receita bruta: códigos de receita e variações dos
// três grupos de atividade (tabela OPCAOCONTRIBPATRONAL, por empresa e data de início).
// Sem linha em vigor valem os códigos padrão da Receita (2985 TIC; 2991 demais grupos).
class TnUtilContribPatronal {
 public:
  explicit TnUtilContribPatronal(THost& AHost) : FHost(AHost) {}
  void SetCodigoEmpresa(int ACodigoEmpresa) { FCodigoEmpresa = ACodigoEmpresa; }
  void SetData(TDateTime AData) { FData = DateOf(AData); }
  int GetCodigoImpostoTIC() { return Linha().CodigoImpostoTIC; }
  int GetVariacaoImpostoTIC() { return Linha().VariacaoImpostoTIC; }
  int GetCodigoImpostoOUTROS() { return Linha().CodigoImpostoOUTROS; }
  int GetVariacaoImpostoOUTROS() { return Linha().VariacaoImpostoOUTROS; }
  int GetCodigoImpostoComercio() { return Linha().CodigoImpostoComercio; }
  int GetVariacaoImpostoComercio() { return Linha().VariacaoImpostoComercio; }
  void LimparCache() { FCache.clear(); }

 private:
  const TLinhaContribPatronal& Linha();
  THost& FHost;
  int FCodigoEmpresa = 0;
  TDateTime FData = 0;
  std::map<std::pair<int, std::string>, TLinhaContribPatronal> FCache;
};

// Configuração geral do sistema (tabela CONFIGSISTEMA: NOME, VALOR), lida uma vez por host.
class TnConfig {
 public:
  explicit TnConfig(THost& AHost) : FHost(AHost) {}
  // Guarda as proporções de crédito sem arredondar (valor "1" em CONFIGSISTEMA).
  bool ApuracaoImpostoPisCofinsArredondamento();
  void SetApuracaoImpostoPisCofinsArredondamento(bool AValor) { FArredondamento = AValor; }
  void LimparCache() { FArredondamento.reset(); }

 private:
  THost& FHost;
  std::optional<bool> FArredondamento;
};

TnUtilIPI& ControleIPI();
TnUtilContribPatronal& ControleContribPatronal();
TnConfig& nConfig();

namespace Nutilarquivo {
// Modo de uso interno (desenvolvimento): erros de consistência viram exceção.
// Desligado, a menos que o host corrente o ligue (TServicosHost::SetUsoInterno).
bool EhUsoInterno();
}  // namespace Nutilarquivo
