#pragma once
// Controle de créditos e de retidos de uma execução do Bloco M: carrega os saldos que podem
// ser usados no período, junta as linhas do mesmo crédito, lê a ordem de compensação da
// empresa e compensa créditos e retidos contra a contribuição devida.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "blocom/control/nFisEFDGeradorBlocoMConfig_U.h"
#include "credits/nFisEFDCreditosApuradosRet_U.h"
#include "credits/nFisEFDCreditosApurados_U.h"
#include "credits/nFisEFDCreditosModelo_U.h"
#include "base/Variant.h"

class TDataSet;
class TnClientDataSet;
class TM100_500CreditoImposto;
class TM200_600ConsolidContribImposto;

// Linha da ordem de compensação por tipo de crédito.
struct TDadosOrdemComp {
  std::string CodigoCredito;
  double Percentual = 0;
  int32_t Ordem = 0;
};

enum TFormaCompensacao : uint8_t { fcUnificado = 0, fcSeparado = 1 };

enum TCompensacaoRetido : uint8_t { crCumulativo = 0, crNaoCumulativo = 1, crPrimeiroCumDepoisNCum = 2 };

class TnFisEFDControleCredito {
 public:
  TnFisEFDControleCredito();
  ~TnFisEFDControleCredito();
  TnFisEFDControleCredito(const TnFisEFDControleCredito&) = delete;
  TnFisEFDControleCredito& operator=(const TnFisEFDControleCredito&) = delete;

  void SetConfigBlocoM(const TConfigBlocoM& AConfig);
  void CarregarCreditosPeriodo();
  void CarregarRetidosPeriodo();
  void InserirCredito(const TDadosCredito& ACredito);
  void InserirCredRetido(const TDadosRetido& ARetido);
  static void LimparDadosCredito(TDadosCredito& ACredito);
  static void LimparDadosCredRetido(TDadosRetido& ARetido);
  static std::string GetChave(const TCamposCredito& ACredito);  // vale para registro e objeto
  static std::string GetChave(const TDadosRetido& ARetido);
  // Sequências dos ressarcimentos/compensações declarados sem linha de retido correspondente.
  const std::vector<std::string>& MontarListaRetidoNaoEncontrado() const { return FListaMsgCredRetido; }
  TListaCreditoObj CarregarCreditosApurados();
  TListaRetido CarregarRetidosApurados();

  // Tabelas de configuração (código da tabela de compensação da empresa).
  void PrepararTabelaOrdem();
  void PrepararTabelaOrdemAliq();
  void PrepararTabelaPercentAliqPer();

  // Compensação de créditos.
  const std::vector<TDadosCreditoObj*>& MontarListaCredDispOrdenada(int32_t AImposto, bool AIncluirTodos);
  double CompensarCredito(TDadosCreditoObj& ACredito, double AValor);
  double CalcularCreditoDisponivel(const TDadosCreditoObj& ACredito);
  void AtualizarCreditoDescontadoM100_M500(TDadosCreditoObj& ACredito, double AValor);
  static void OrdenarLstRegM100_M500(TDadosCreditoObj& ACredito);
  TFormaCompensacao FormaCompensacao();
  bool PodeUtilizarCredito(bool AIncluirTodos, const TDadosCreditoObj& ACredito);
  bool PodeUtilizarCreditoAgro(const TDadosCreditoObj& ACredito);
  bool PossuiOrdenacaoConfigurada(const TDadosCreditoObj& ACredito) const;
  bool PodeUtilizarCreditoAliq(const TDadosCreditoObj& ACredito);
  int32_t GetOrdemCred(const std::string& ACodigo) const;
  int32_t GetOrdemCredAliq(const TCamposCredito& ACredito) const;
  double GetPercentualCred(const TCamposCredito& ACredito) const;
  bool TemPercentualCredAliq(const TCamposCredito& ACredito, double& APercentual);

  // Compensação de retidos.
  void CompensarRetido(TM200_600ConsolidContribImposto& ARegistro, int16_t AImposto);
  const std::vector<TDadosRetido>& MontarListaRetidoOrdenada(int32_t AImposto);
  void AtualizarCredRetido(const TDadosRetido& ARetido);
  double GetDebitoRestanteRetido(const std::string& ATipoDebito, const TM200_600ConsolidContribImposto& ARegistro);
  TCompensacaoRetido TipoCompensacaoRetido(const std::string& ATipoDebito);

  // Leitura dos livros (geradores, relatórios e testes).
  const TListaChave<std::unique_ptr<TDadosCreditoObj>>& GetLstCredito() const { return LstCredito; }
  TDadosCreditoObj* ProcurarCredito(const std::string& AChave);
  const TListaChave<TDadosRetido>& GetLstCredRetido() const { return LstCredRetido; }
  const TListaChave<TDadosOrdemComp>& GetTabelaOrdem() const { return FTabelaOrdem; }
  const TListaChave<int32_t>& GetTabelaOrdemAliq() const { return FTabelaOrdemAliq; }
  const TConfigBlocoM& GetConfigBlocoM() const { return FConfigBlocoM; }

  // Chave da ordem por alíquota: ordem do tipo, imposto e alíquota com 4 casas.
  static std::string ChaveOrdemAliq(int32_t AOrdem, int32_t AImposto, double AAliquota);

 private:
  std::string GetFilterEstab(const std::string& APrefixo, bool ASempre) const;
  std::string GetSqlSaldoCompensacao() const;
  std::unique_ptr<TDataSet> ExecutarSQLInt(const std::string& ASQL, const TParams& AValores, bool ACliente = false);
  bool ApuracaoAntTemSaldoSCPNaOstensiva() const;
  bool GuardaSCP() const;
  TDateTime DataAnterior() const;

  void CarregarCreditoSaldoInicial();
  void CarregarCreditoDispPeriodoAnterior();
  void CarregarCreditoCompensacao();
  void CarregarCreditoEventoFusaoCisao();
  void CarregarCreditoRetidoSaldoInicial();
  void CarregarCreditoRetidoDispPeriodoAnterior();
  void CarregarCreditoRetidoPagamento();
  void CompensarRestituirCreditoRetido();
  void CarregarRetidos(const std::string& ASQL, const TParams& AValores);

 public:
  int32_t FCodigoEmpresa = 0;
  std::string FCodigoEstab;
  TDateTime FDataInicial = 0;
  TDateTime FDataFinal = 0;
  TConfigBlocoM FConfigBlocoM;
  TModoGeracao FModoGeracao = TModoGeracao::mgEmpresa;

 private:
  std::unique_ptr<TDataSet> curPercentAliqPer;
  std::unique_ptr<TnFisEFDCreditosApurados> FCreditosApurados;
  std::unique_ptr<TnFisEFDCreditosApuradosRet> FCreditosApuradosRet;
  TListaChave<std::unique_ptr<TDadosCreditoObj>> LstCredito;
  std::vector<TDadosCreditoObj*> FListaOrdenada;
  TListaChave<TDadosOrdemComp> FTabelaOrdem;
  TListaChave<int32_t> FTabelaOrdemAliq;
  TListaChave<TDadosRetido> LstCredRetido;
  std::vector<TDadosRetido> FListaOrdenadaRetido;
  std::vector<std::string> FListaMsgCredRetido;
  // M100/M500 vazios ligados aos saldos trazidos do período anterior (não recebem desconto).
  std::vector<std::unique_ptr<TM100_500CreditoImposto>> FRegistrosVazios;
};
