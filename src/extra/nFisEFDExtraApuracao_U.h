#pragma once
// Apuração extra: a receita do período por CST e por alíquota e o
// rateio, sobre ela, dos ajustes da base de cálculo que o usuário informou; o M215/M615 lê
// os ajustes rateados.
#include <cstdint>
#include <memory>
#include <string>

#include "base/DateTime.h"
#include "base/Variant.h"
#include "blocom/control/nFisEFDGeradorBlocoMConfig_U.h"
#include "credits/nFisEFDCreditosModelo_U.h"

class TDataSet;

// Indicador de apropriação do ajuste: 1 os dois tributos, 2 só PIS, 3 só COFINS.
enum TIndicadorApropriacao : uint8_t { iaPisCofins = 1, iaPis = 2, iaCofins = 3 };

// Uma linha de EFDAJUSTEBASECALCCONTRIBAPUR.
struct TRecAjuste {
  int32_t CodigoEmpresa = 0;
  int32_t CodigoEstab = 0;
  int32_t Sequencia = 0;
  TDateTime Data = 0;
  int32_t IndicadorAjuste = 0;
  std::string CodigoAjuste;
  TIndicadorApropriacao IndicadorApropriacao = iaPisCofins;
  std::string CNPJ;
  std::string NumRec;
  std::string InfoComplementar;
  double ValorAjuste = 0;
  std::string NumeroDocumento;
  std::string DescricaoAjuste;
  int32_t ContaContabil = 0;
};

// Fatia do ajuste que cabe a um CST e tipo de débito.
class TAjusteBCDet {
 public:
  std::string FTipoDebito;
  double FValorAjusteCST = 0;
  int32_t FCST = 0;
  int32_t FSequenciaAjuste = 0;
  int32_t FSequencia = 0;
};

// Fatia do ajuste que cabe a um tributo, tipo de débito e alíquota.
class TAjusteBCDetAliq {
 public:
  std::string FTipoDebito;
  double FValorAjuste = 0;
  int32_t FSequenciaAjuste = 0;
  int32_t FSequencia = 0;
  double FAliq = 0;
  uint8_t FTipoImposto = 0;
};

class TAjusteBC {
 public:
  std::string FCNPJ;
  std::string FInfoComplementar;
  double FValorAjuste = 0;
  std::string FDescricaoAjuste;
  std::string FNumRec;
  std::string FCodigoAjuste;
  int32_t FIndicadorAjuste = 0;
  int32_t FContaContabil = 0;
  TIndicadorApropriacao FIndicadorApropriacao = iaPisCofins;
  TDateTime FData = 0;
  std::string FNumeroDocumento;
  int32_t FCodigoEstab = 0;
  int32_t FCodigoEmpresa = 0;
  int32_t FSequencia = 0;
  // Enumeram na ordem de inclusão (a da receita do período).
  TListaChave<std::unique_ptr<TAjusteBCDet>> FLstAjusteBCDet;
  TListaChave<std::unique_ptr<TAjusteBCDetAliq>> FLstAjusteBCDetAliq;
};

// Receita de um CST e tipo de débito.
class TExcBCPisCofins {
 public:
  double FValorCST = 0;
  TVariant FPercentualCST = 0.0;  // percentual da receita total do período
  std::string FTipoDebito;
  int32_t FCST = 0;
};

// Receita de um tributo, tipo de débito e alíquota.
class TExcBCPisCofinsAliq {
 public:
  std::string FTipoDebito;
  double FAliq = 0;
  double FReceita = 0;
  uint8_t FTipoImposto = 0;
  double FReceitaTotal = 0;
};

class TnFisEFDExtraApuracao {
 public:
  TnFisEFDExtraApuracao() = default;
  TnFisEFDExtraApuracao(const TnFisEFDExtraApuracao&) = delete;
  TnFisEFDExtraApuracao& operator=(const TnFisEFDExtraApuracao&) = delete;
  TnFisEFDExtraApuracao(TnFisEFDExtraApuracao&&) = default;
  TnFisEFDExtraApuracao& operator=(TnFisEFDExtraApuracao&&) = default;

  // Receita por CST e alíquota, depois o rateio dos ajustes sobre ela.
  void ExecutarExtraApuracao();

  // Ajustes da base.
  void GerarDetalhamentoAjusteBC();
  void GerarAjusteBC(const TRecAjuste& ARec);
  void GerarAjusteBCPorCST(TAjusteBC& AAjuste);
  void GerarAjusteBCPorAliq(TAjusteBC& AAjuste);
  TAjusteBC& GetAjusteBC(const TRecAjuste& ARec);
  static TAjusteBCDet& GetAjusteBCDet(TAjusteBC& AAjuste, const std::string& AChave);
  static TAjusteBCDetAliq& GetAjusteBCDetAliq(TAjusteBC& AAjuste, const std::string& AChave);
  std::string GetSQLAjuste() const;
  std::string GetFiltroEstab(const std::string& APrefixo) const;
  static std::unique_ptr<TAjusteBC> RecParaObj(const TRecAjuste& ARec);
  static std::string GetChaveAjuste(const TRecAjuste& ARec);

  // Receita por CST e por alíquota.
  void GerarProporcaoReceitaCST();
  void InserirBCPisCofins(TDataSet& ADataSet);
  void InserirBCPisCofinsAliq(TDataSet& ADataSet, uint8_t AImposto);
  TExcBCPisCofins& GetExcBCPisCofins(const std::string& AChave);
  TExcBCPisCofinsAliq& GetExcBCPisCofinsAliq(const std::string& AChave);
  // Alíquota como texto de chave: forma geral, sem zeros à direita ("1.65", "7.6", "0").
  static std::string TextoAliquota(double AAliquota);

  // Configuração (o contexto da execução preenche) e resultados.
  TModoGeracao FModoGeracao = TModoGeracao::mgEmpresa;
  TDateTime FDataFinal = 0;
  TDateTime FDataInicial = 0;
  std::string FCodigoEstab;
  int32_t FCodigoEmpresa = 0;
  TListaChave<std::unique_ptr<TAjusteBC>> FLstAjusteBC;
  TListaChave<std::unique_ptr<TExcBCPisCofins>> FLstExcBCPisCofins;
  TListaChave<std::unique_ptr<TExcBCPisCofinsAliq>> FLstBCPisCofinsAliq;
  std::string FCodigoEstabExtraApuracao;
};
