#pragma once
// Repositório monolítico do Bloco M: carrega os registros do PIS e da COFINS direto por SQL,
// sem a árvore de geradores. Um objeto por execução; o M001 devolvido é do chamador.
// Os carregadores ficam em três fontes: este quadro (opções, filtros, classificação do
// crédito, SCP), os créditos (M100 a M115) e as contribuições (M200 a M230, M350, M400/M410).
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "blocom/control/nFisEFDGeradorBlocoMConfig_U.h"
#include "blocom/model/nFisRepositorioEFDModel_U.h"
#include "host/DataSet.h"

class TnFisProporcaoCreditos;

// M001 de cada SCP, na ordem dos estabelecimentos.
using TListaBlocoMSCP = std::vector<std::pair<TDadosSCP, std::unique_ptr<TM001AberturaBloco>>>;

class TRepoPisCofinsBlocoM {
 public:
  // Registros de trabalho aninhados: o gerador do M400 tem o seu próprio TRecM410_810, com
  // outros campos; dois tipos globais de mesmo nome violariam a regra de definição única.
  // Registro de trabalho de um M105/M505 antes de achar o seu M100.
  struct TRecM105_505 {
    std::string NAT_BC_CRED;
    std::string NAT_BC_CRED2;
    int CST = 0;
    double VL_BC_TOT = 0;
    double VL_BC_CUM = 0;
    double VL_BC = 0;
    double QUANT_BC_TOT = 0;
    double QUANT_BC = 0;
    std::string DESC_CRED;
    std::string TipoCreditoMestre;
    double AliquotaMestre = 0;
  };

  // Ajuste de crédito (M110/M510) ou de contribuição (M220/M620).
  struct TRecM110_510_220_620 {
    std::string IND_AJ;
    double VL_AJ = 0;
    std::string COD_AJ;
    std::string NUM_DOC;
    std::string DESCR_AJ;
    std::string DT_REF;
    int CST = 0;
    std::string TipoCreditoMestre;
    double AliquotaMestre = 0;
    double AliquotaMestreQtd = 0;
    bool AjusteSCP = false;
  };

  struct TRecM400_800 {
    int CST = 0;
  };

  struct TRecM410_810 {
    std::string NAT_REC;
    double VL_REC = 0;
    int CstMestre = 0;
  };

  TRepoPisCofinsBlocoM();
  virtual ~TRepoPisCofinsBlocoM();
  TRepoPisCofinsBlocoM(const TRepoPisCofinsBlocoM&) = delete;
  TRepoPisCofinsBlocoM& operator=(const TRepoPisCofinsBlocoM&) = delete;

  // Execução completa; o chamador fica dono do M001.
  std::unique_ptr<TM001AberturaBloco> CarregarDadosBlocoM(const TConfigBlocoM& AConfig);
  // Resultados das SCP da última execução (a lista de trabalho é liberada no fim dela).
  const TListaBlocoMSCP& GetResultadoSCP() const { return FResultadoSCP; }

  int32_t GetCodigoEmpresa() const { return FConfigBlocoM.CodigoEmpresa; }
  std::string GetCodigoEstab() const { return FConfigBlocoM.CodigoEstab; }
  TDateTime GetDataInicial() const { return FConfigBlocoM.DataInicial; }
  TDateTime GetDataFinal() const { return FConfigBlocoM.DataFinal; }

  // Situação da empresa lida por AntesCarregarDados.
  bool GetOptanteLucroReal() const { return FOptanteLucroReal; }
  bool GetOptanteLucroPresumido() const { return FOptanteLucroPresumido; }
  bool GetOptanteEFD() const { return FOptanteEFD; }
  bool GetEstabSCP() const { return FEstabSCP; }
  int32_t GetTipoApuracao() const { return FTipoApuracao; }
  int32_t GetRegimeApuracao() const { return FRegimeApuracao; }

  // Classificação do tipo de crédito do M100/M500: dígito do regime + classe da alíquota.
  static std::string GetTipoCreditoRegime(int ACST);
  static std::string GetTipoCreditoMestreQtd(int ACST);
  static std::string GetTipoCreditoMestre(int ACST, const std::string& ATexto, double AAliq,
                                          const std::string& ATipoCredito);
  static std::string GetTipoCreditoMestreBem(int ACST, int AOrigemBem);
  static std::string GetTipoCreditoAliquota(const std::string& ATexto, const std::string& ATipoCredito, int ACST,
                                            double AAliq);
  static bool EhAliqBasica(double AAliq);
  // Chave do M100: tipo | alíquota | alíquota por quantidade | origem.
  static std::string ChaveM100(const std::string& ATipoCredito, double AAliq, double AAliqQuant, int AIndCredOri);

  // Construtores de valores e filtros (públicos para os testes dos textos SQL).
  TParams GetFiltroEmpresaPeriodo() const;
  std::string GetFilterEstab(const std::string& AAlias) const;
  std::string GetFiltroCSTM400_M800() const;
  std::string GetTipoImposto() const { return FImposto == 15 ? "PIS" : "COFINS"; }
  // Forma de caixa das receitas isentas: presumido com tipo de apuração 3.
  bool GetFormaCaixa() const { return FOptanteLucroPresumido && FTipoApuracao == 3; }

  // Textos SQL de cada carregador, para o imposto corrente (SetImposto).
  void SetImposto(int32_t AImposto) { FImposto = AImposto; }
  void SetConfig(const TConfigBlocoM& AConfig) { FConfigBlocoM = AConfig; }
  std::string GetSqlM100_500CreditoEvento() const;
  std::string GetSqlM105_M505() const;
  std::string GetSqlM105_M505EstoqAbert() const;
  std::string GetSqlM105_M505DemaisDoc() const;
  std::string GetSqlM110_510_220_620DevSaida() const;
  std::string GetSqlM110_510_220_620Entrada() const;
  std::string GetSqlM110_510_220_620LctoAjuste(int ATipoAjuste) const;
  std::string GetSqlTotalCredDescontarM100_500() const;
  std::string GetSqlM200_600Real() const;
  std::string GetSqlM200_600RealRetido() const;
  std::string GetSqlM200_600Pres() const;
  std::string GetSqlM200_600PresRetido() const;
  std::string GetSqlM210_610() const;
  std::string GetSqlM211_611() const;
  std::string GetSqlM215_615() const;
  std::string GetSqlM220_620() const { return GetSqlM110_510_220_620LctoAjuste(1); }
  std::string GetSqlM350() const;
  std::string GetSqlM400_M800() const;
  std::string GetSqlM410_M810LctoFis() const;
  std::string GetSqlM410_M810DemaisDoc() const;
  std::string GetTabelaRegime(bool APresumido) const;

 protected:
  virtual void AntesCarregarDados();
  virtual void DepoisCarregarDados();

  void VerifEhOptanteLucroReal();
  void VerifEhOptanteLucroPres();
  void VerifEhOptanteEFD();
  void VerifEstabSCP();
  bool EhOptanteLucroReal();
  void PegarProporc0111();
  void CarregarDadosBlocoMSCP();

  void CarregarCreditoPis();
  void CarregarCreditoCofins();
  void CarregarContribuicaoPis();
  void CarregarContribuicaoCofins();
  void CarregarFolhaSalarios();
  void CarregarReceitasIsentasPis();
  void CarregarReceitasIsentasCofins();

  // Abre a consulta pelo host e liga o progresso da configuração ao dataset.
  std::unique_ptr<TDataSet> ExecutarSQLInt(const std::string& ASQL, const TParams& AValores, bool ACliente,
                                           bool ASomenteLeitura, int AMaxRegistros);

  // --- créditos ---
  void CarregarCredito();
  void CarregarDadosM100_500CreditoEvento();
  void CarregarDadosM105_505();
  void CarregarDadosM105_505Lcto();
  void CarregarDadosM105_505Bem();
  void CarregarDadosM105_M505EstoqAbertura();
  void CarregarDadosM105_505DemaisDoc();
  void CarregarAjustesM110_510_220_620();
  void CarregarAjustesM110_510_220_620Devolucao();
  void CarregarAjustesM110_510_220_620Lcto();
  void CarregarTotalCredDescontarM100_500();
  TM100_500CreditoImposto& GetM100_500(const std::string& ATipoCredito, double AAliq, double AAliqQuant,
                                       int AIndCredOri);
  void GerarM105_505(const TRecM105_505& ARec);
  void GerarM105_505Unico(const TRecM105_505& ARec);
  void GerarM105_505ProporcionalPorReceita(const TRecM105_505& ARec);
  void GerarM110_510(const TRecM110_510_220_620& ARec);
  void GerarM110_510Unico(const TRecM110_510_220_620& ARec);
  void GerarM110_510ProporcionalPorReceita(const TRecM110_510_220_620& ARec);
  const TRecProporcReceita* ProporcaoDoCST(int ACST) const;
  static std::unique_ptr<TM105_505DetalheBCCredito> RecParaObj(const TRecM105_505& ARec);
  static std::unique_ptr<TM110_510_220_620AjusteCredImp> RecParaObj(const TRecM110_510_220_620& ARec);

  // --- contribuições, folha e receitas isentas ---
  void CarregarContribuicao();
  void CarregarDadosM200_600();
  void CarregarDadosM200_600TributarioLucroReal();
  void CarregarDadosM200_600RetidoLucroReal();
  void CarregarDadosM200_600TributarioLucroPresumido();
  void CarregarDadosM200_600RetidoLucroPresumido();
  void CarregarDadosM205_605();
  void CarregarDadosM210_610();
  void CarregarDadosM211_611();
  void CarregarDadosM215_615();
  void CarregarDadosM220_620();
  void CarregarDadosM350();
  void CarregarDadosM400_800();
  void CarregarDadosM410_810();
  void CarregarDadosM410_810LctoFis();
  void CarregarDadosM410_810DemaisDoc();
  TM400_800ReceitaIsenta& GetM400_800(int ACST);
  void GerarM400_800(const TRecM400_800& ARec);
  void GerarM410_810(const TRecM410_810& ARec);
  static std::unique_ptr<TM400_800ReceitaIsenta> RecParaObj(const TRecM400_800& ARec);
  static std::unique_ptr<TM410_810DetalRecIsenta> RecParaObj(const TRecM410_810& ARec);
  std::string GetFiltroSqlM410_M810() const;
  std::string CondicaoEstabRegime(const std::string& APrefixo) const;

  bool FOptanteLucroReal = false;
  bool FOptanteLucroPresumido = false;
  bool FOptanteEFD = false;
  int32_t FTipoApuracao = 0;
  int32_t FRegimeApuracao = 0;
  TDateTime FDtOpLucroReal = 0;
  bool FEstabSCP = false;
  int32_t FImpostoPISNaoCumulativo = 0, FImpostoPISCumulativo = 0;
  int32_t FVariacaoPISNaoCumulativo = 0, FVariacaoPISCumulativo = 0;
  int32_t FImpostoCOFINSNaoCumulativo = 0, FImpostoCOFINSCumulativo = 0;
  int32_t FVariacaoCOFINSNaoCumulativo = 0, FVariacaoCOFINSCumulativo = 0;
  int32_t FImposto = 15;
  int32_t FOperacao = 0;
  TM100_500CreditoImpostoList* FLstM100_500 = nullptr;
  TM200_600ConsolidContribImposto* FRegM200_600 = nullptr;
  TM400_800ReceitaIsentaList* FLstM400_800 = nullptr;
  TConfigBlocoM FConfigBlocoM;
  std::unique_ptr<TM001AberturaBloco> FAberturaBloco;
  TRecProporcReceita FProporcCST53, FProporcCST54, FProporcCST55, FProporcCST56;
  std::unique_ptr<TnFisProporcaoCreditos> FProporcaoCredito;
  std::unique_ptr<TListaBlocoMSCP> FLstBlocoMSCP;

 private:
  TListaBlocoMSCP FResultadoSCP;
};
