#pragma once
// Opções dos regimes de lucro real (TnUtilLucroReal) e lucro presumido
// (TnUtilLucroPresumido), por empresa e data de opção. Uma empresa sem opção cadastrada
// não apura por esse regime: ProcurarDataOpcao devolve 0 e ApuraLucro... devolve falso.
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "base/DateTime.h"

class THost;

// Códigos de receita (DARF) e variações de um tributo, como a opção os guarda.
struct TCodigosImposto {
  int ImpostoNaoCumulativo = 0;
  int VariacaoNaoCumulativo = 0;
  int ImpostoCumulativo = 0;
  int VariacaoCumulativo = 0;
};

struct TLinhaOpcaoLucroReal {
  TDateTime DataOpcao = 0;
  bool ApuraLucroReal = true;
  int RegimeApuracao = 1;  // 1 não cumulativo, 2 misto, 3 cumulativo
  int TipoApuracao = 1;    // 1 estimativa mensal, 2 trimestral
  bool ApuraPIS = true;
  bool ApuraCOFINS = true;
  TCodigosImposto PIS{6912, 1, 8109, 1};
  TCodigosImposto COFINS{5856, 1, 2172, 1};
  int CSTAjusteCredito = 56;
  int ProporcaoRecCum = 0;
};

struct TLinhaOpcaoLucroPresumido {
  TDateTime DataOpcao = 0;
  bool ApuraLucroPresumido = true;
  int TipoApuracao = 2;
  bool ApuraPIS = true;
  bool ApuraCOFINS = true;
  int CodigoImpostoPIS = 8109, VariacaoImpostoPIS = 1;
  int CodigoImpostoCOFINS = 2172, VariacaoImpostoCOFINS = 1;
};

// Parte comum: empresa, período e busca da linha em vigor (maior DATAOPCAO <= data).
class TnUtilOpcaoRegime {
 public:
  explicit TnUtilOpcaoRegime(THost& AHost) : FHost(AHost) {}
  virtual ~TnUtilOpcaoRegime() = default;
  void SetCodigoEmpresa(int ACodigoEmpresa) { FCodigoEmpresa = ACodigoEmpresa; }
  void SetDataInicial(TDateTime AData) { FDataInicial = DateOf(AData); }
  void SetDataFinal(TDateTime AData) { FDataFinal = DateOf(AData); }
  int GetCodigoEmpresa() const { return FCodigoEmpresa; }
  TDateTime GetDataInicial() const { return FDataInicial; }
  TDateTime GetDataFinal() const { return FDataFinal; }
  // Data da opção em vigor na data; 0 quando a empresa não tem opção até ela.
  TDateTime ProcurarDataOpcao(TDateTime AData);
  void LimparCache() { FDatas.clear(); }

 protected:
  virtual const char* Tabela() const = 0;
  virtual const char* NomeRegime() const = 0;
  [[noreturn]] void ErroSemOpcao(TDateTime AData) const;
  THost& FHost;
  int FCodigoEmpresa = 0;
  TDateTime FDataInicial = 0;
  TDateTime FDataFinal = 0;

 private:
  std::map<std::pair<int, std::string>, TDateTime> FDatas;
};

class TnUtilLucroReal : public TnUtilOpcaoRegime {
 public:
  using TnUtilOpcaoRegime::TnUtilOpcaoRegime;
  bool ApuraLucroReal(TDateTime AData);  // falso sem opção em vigor
  int RegimeApuracao(TDateTime AData);
  int TipoApuracao(TDateTime AData);
  // Preenchem, nesta ordem, imposto e variação não cumulativos, depois os cumulativos;
  // devolvem se o tributo é apurado pela opção.
  bool ApuraPIS(TDateTime AData, int& AImpostoNCum, int& AVariacaoNCum, int& AImpostoCum,
                int& AVariacaoCum);
  bool ApuraCOFINS(TDateTime AData, int& AImpostoNCum, int& AVariacaoNCum, int& AImpostoCum,
                   int& AVariacaoCum);
  int CSTAjusteCredito(TDateTime AData);
  int ProporcaoRecCum(TDateTime AData);
  std::optional<TLinhaOpcaoLucroReal> LinhaEmVigor(TDateTime AData);
  void LimparCache() { TnUtilOpcaoRegime::LimparCache(); FLinhas.clear(); }

 protected:
  const char* Tabela() const override { return "OPCAOLUCROREAL"; }
  const char* NomeRegime() const override { return "lucro real"; }

 private:
  const TLinhaOpcaoLucroReal& Linha(TDateTime AData);
  std::map<std::pair<int, std::string>, std::optional<TLinhaOpcaoLucroReal>> FLinhas;
};

class TnUtilLucroPresumido : public TnUtilOpcaoRegime {
 public:
  using TnUtilOpcaoRegime::TnUtilOpcaoRegime;
  bool ApuraLucroPresumido(TDateTime AData);  // falso sem opção em vigor
  int RegimeApuracao(TDateTime) { return 3; }  // o presumido é sempre cumulativo
  int TipoApuracao(TDateTime AData);
  bool ApuraPIS(TDateTime AData, int& AImposto, int& AVariacao);
  bool ApuraCOFINS(TDateTime AData, int& AImposto, int& AVariacao);
  std::optional<TLinhaOpcaoLucroPresumido> LinhaEmVigor(TDateTime AData);
  void LimparCache() { TnUtilOpcaoRegime::LimparCache(); FLinhas.clear(); }

 protected:
  const char* Tabela() const override { return "OPCAOLUCROPRESUMIDO"; }
  const char* NomeRegime() const override { return "lucro presumido"; }

 private:
  const TLinhaOpcaoLucroPresumido& Linha(TDateTime AData);
  std::map<std::pair<int, std::string>, std::optional<TLinhaOpcaoLucroPresumido>> FLinhas;
};

TnUtilLucroReal& ControleLucroReal();
TnUtilLucroPresumido& ControleLucroPresumido();
