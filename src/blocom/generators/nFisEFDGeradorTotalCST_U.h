#pragma once
// Totais por CST: uma consulta por fonte (entradas, ativo, estoque de abertura,
// demais documentos, imobiliário, saídas, deduções e exclusões), cada dataset aberto para
// quem chama, e a soma de tudo num dataset em memória chaveado por origem, estabelecimento,
// imposto, CST, código SPED, tipo de lançamento, CFOP e conta.
//
// Não é um gerador: o gerador que o usa cria, configura (membros públicos),
// chama GerarTotais, lê os datasets e o libera. Os datasets pertencem a este objeto.
//
// Memória: as fontes são agregadas pelo banco (GROUP BY estabelecimento, imposto, CST, tipo,
// alíquota, CFOP, conta), então cada dataset guarda uma linha por grupo, não por item de
// lançamento; por isso ficam em memória (TnClientDataSet): cada fonte é lida duas vezes, pela
// soma e por quem chama, e as exclusões são indexadas e apagadas pelo M210/M610.
#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "base/DateTime.h"
#include "base/Variant.h"
#include "host/ClientDataSet.h"
#include "host/FieldMapper.h"

struct TnPatCreditoDacon;

enum TReceita { rTributadas, rIsentas, rOutras };
using TReceitas = std::set<TReceita>;

enum class TTipoTotal { tnTotalEFD, tnTotalEFDMov };

// Tipo de lançamento do total (ordinal gravado em TipoLcto e em TOTALEFDMOV.TIPOLCTO).
enum TTipoLcto : int {
  tplEntrada = 0,
  tplSaida = 1,
  tplEstoqueAbertura = 2,
  tplCreditosPAT = 3,
  tplUnidadeImobVendida = 4,
  tplUnidadeImobCusIncorrido = 5,
  tplUnidadeImobCusOrcado = 6,
  tplDemaisDocEntrada = 7,
  tplDemaisDocSaida = 8,
  tplDeducoesExclusoes = 9
};

// Linha sendo acumulada.
struct TRecTotal {
  std::string Origem;
  int16_t CodigoEstab = 0;
  int16_t TipoImposto = 0;
  int16_t CST = 0;
  std::string CodigoTabSPED;
  int32_t CodigoCFOP = 0;
  TTipoLcto TipoLcto = tplEntrada;
  double ValorTotal = 0;
  double BaseCalculo = 0;
  double ValorContrib = 0;
  std::string ContaCtb;
  std::string DescrCompl;
};

// Mapas de linha (membros com os nomes das colunas).
struct TMapTotal : TRowMap {
  PISCO_CAMPO(Origem);
  PISCO_CAMPO(CodigoEstab);
  PISCO_CAMPO(TipoImposto);
  PISCO_CAMPO(CST);
  PISCO_CAMPO(CodigoTabSPED);
  PISCO_CAMPO(TipoLcto);
  PISCO_CAMPO(CodigoCFOP);
  PISCO_CAMPO(ValorTotal);
  PISCO_CAMPO(BaseCalculo);
  PISCO_CAMPO(ValorContrib);
  PISCO_CAMPO(ContaCtb);
  PISCO_CAMPO(DescrCompl);
  PISCO_CAMPO(DataTotal);
};

struct TMapEntCreditoBem : TRowMap {
  PISCO_CAMPO(CodigoEstab);
  PISCO_CAMPO(NumeroBem);
  PISCO_CAMPO(DescricaoBem);
  PISCO_CAMPO(OrigemBem);
  PISCO_CAMPO(TipoDaconCredito);
  PISCO_CAMPO(TipoCredito);
  PISCO_CAMPO(TipoApuracao);
  PISCO_CAMPO(CSTPIS);
  PISCO_CAMPO(CSTCOFINS);
  PISCO_CAMPO(QuotaMensal);
  PISCO_CAMPO(AliquotaPis);
  PISCO_CAMPO(AliquotaCofins);
  PISCO_CAMPO(CreditoPis);
  PISCO_CAMPO(CreditoCofins);
};

struct TMapLctoEnt : TRowMap {
  PISCO_CAMPO(CODIGOESTAB);
  PISCO_CAMPO(TIPOIMPOSTO);
  PISCO_CAMPO(CST);
  PISCO_CAMPO(CODIGOCFOP);
  PISCO_CAMPO(TIPOCREDITO);
  PISCO_CAMPO(RECEITAPISCOFINS);
  PISCO_CAMPO(BASECALCULOPISCOFINS);
  PISCO_CAMPO(VALOR);
  PISCO_CAMPO(DACONTIPORECEITA);
};

struct TMapEntEstoq : TRowMap {
  PISCO_CAMPO(CODIGOESTAB);
  PISCO_CAMPO(TIPOIMPOSTO);
  PISCO_CAMPO(TIPOCREDITO);
  PISCO_CAMPO(ALIQ);
  PISCO_CAMPO(CST);
  PISCO_CAMPO(VLRTOTEST);
  PISCO_CAMPO(VLRBCMENEST);
  PISCO_CAMPO(VLRCRED);
};

struct TMapEntDemaisDoc : TRowMap {
  PISCO_CAMPO(CODIGOESTAB);
  PISCO_CAMPO(TIPOIMPOSTO);
  PISCO_CAMPO(CST);
  PISCO_CAMPO(TIPOCREDITO);
  PISCO_CAMPO(ALIQ);
  PISCO_CAMPO(VALOROPER);
  PISCO_CAMPO(BASECALCULO);
  PISCO_CAMPO(VALOR);
  PISCO_CAMPO(CONTACTB);
  PISCO_CAMPO(DESCRCOMPL);
};

struct TMapEntImobCustoInc : TRowMap {
  PISCO_CAMPO(CODIGOESTAB);
  PISCO_CAMPO(TIPOIMPOSTO);
  PISCO_CAMPO(TIPOCREDITO);
  PISCO_CAMPO(CST);
  PISCO_CAMPO(VLCUSINCPERESC);
  PISCO_CAMPO(VLBCCUSINC);
  PISCO_CAMPO(VLCREDDESC);
};

struct TMapEntImobCustoOrc : TRowMap {
  PISCO_CAMPO(CODIGOESTAB);
  PISCO_CAMPO(TIPOIMPOSTO);
  PISCO_CAMPO(TIPOCREDITO);
  PISCO_CAMPO(CST);
  PISCO_CAMPO(VLEXC);
  PISCO_CAMPO(VLBCCRED);
  PISCO_CAMPO(VLCREDUTIL);
};

struct TMapLctoSai : TRowMap {
  PISCO_CAMPO(CODIGOESTAB);
  PISCO_CAMPO(TIPOIMPOSTO);
  PISCO_CAMPO(CST);
  PISCO_CAMPO(TIPODEBITO);
  PISCO_CAMPO(CODIGOCFOP);
  PISCO_CAMPO(RECEITAPISCOFINS);
  PISCO_CAMPO(BASECALCULOPISCOFINS);
  PISCO_CAMPO(DACONTIPORECEITA);
  PISCO_CAMPO(VALORCONTRIB);
  PISCO_CAMPO(CONTACTB);
};

struct TMapSaiExcl : TRowMap {
  PISCO_CAMPO(CODIGOESTAB);
  PISCO_CAMPO(TIPOIMPOSTO);
  PISCO_CAMPO(CST);
  PISCO_CAMPO(ALIQ);
  PISCO_CAMPO(VALOR);
};

struct TMapSaiImob : TRowMap {
  PISCO_CAMPO(CODIGOESTAB);
  PISCO_CAMPO(TIPOIMPOSTO);
  PISCO_CAMPO(TIPODEBITO);
  PISCO_CAMPO(CST);
  PISCO_CAMPO(ALIQ);
  PISCO_CAMPO(VLTOTREC);
  PISCO_CAMPO(VLBASECALC);
  PISCO_CAMPO(VALORCONTRIB);
};

struct TMapSaiDemaisDoc : TRowMap {
  PISCO_CAMPO(CODIGOESTAB);
  PISCO_CAMPO(TIPOIMPOSTO);
  PISCO_CAMPO(INDOPER);
  PISCO_CAMPO(CST);
  PISCO_CAMPO(TIPODEBITO);
  PISCO_CAMPO(ALIQ);
  PISCO_CAMPO(VALOROPER);
  PISCO_CAMPO(BASECALCULO);
  PISCO_CAMPO(VALORCONTRIB);
  PISCO_CAMPO(CONTACTB);
  PISCO_CAMPO(DESCRCOMPL);
};

class TnFisEFDGeradorTotalCST {
 public:
  // Índice do dataset de totais.
  static constexpr const char* IndiceTotal =
      "Origem;CodigoEstab;TipoImposto;CST;CodigoTabSPED;TipoLcto;CodigoCFOP;ContaCtb";

  TnFisEFDGeradorTotalCST();
  ~TnFisEFDGeradorTotalCST();
  TnFisEFDGeradorTotalCST(const TnFisEFDGeradorTotalCST&) = delete;
  TnFisEFDGeradorTotalCST& operator=(const TnFisEFDGeradorTotalCST&) = delete;

  // Escolhe o caminho: não optante da EFD -> GerarTotaisLcto(true); optante com
  // FModoApuracao -> GerarTotaisLcto(false); senão GerarTotalEFD.
  void GerarTotais();
  // Posiciona ControleOpcaoEFD() na empresa, estabelecimento (1 quando não é um número) e
  // data inicial e diz se a empresa é optante da EFD.
  bool OptanteEFD();
  void GerarTotaisLcto(bool ADacon);
  void GerarTotalEFD();

  // Fontes, na ordem em que rodam.
  void GerarEntradaLcto();
  void GerarEntCreditoBem();
  void GerarEntEstoqAbert();
  void GerarEntDemaisDoc();
  void GerarEntImobCustoInc();
  void GerarEntImobCustoOrc();
  void GerarSaidaLcto();
  void GerarSaidasExclu();
  void GerarSaidaImob();
  void GerarSaidaDemaisDoc();

  // Textos SQL de cada fonte (a configuração corrente escolhe tabelas, listas e filtros).
  std::string GetSqlEntradaLcto() const;
  std::string GetSqlEntEstoqAbert() const;
  std::string GetSqlEntDemaisDoc() const;
  std::string GetSqlEntImobCustoInc() const;
  std::string GetSqlEntImobCustoOrc() const;
  std::string GetSqlSaidaLcto() const;
  std::string GetSqlSaidaExclu() const;
  std::string GetSqlSaidaImob() const;
  std::string GetSqlSaidaDemaisDoc() const;
  std::string GetSqlTotalEFD() const;
  // Tabela das deduções e exclusões do caminho corrente.
  std::string GetTabelaDeducaoExclusao() const;

  // Filtros das saídas: comum, lista de CSTs da receita e data de pagamento (caixa).
  std::string GetFiltroSqlM210_M610() const;
  std::string GetFiltroCSTReceita() const;
  std::string GetFiltroDataPagamento() const;
  // Condição de estabelecimento (" AND (...) " ou "") sobre a coluna.
  std::string GetFiltroEstab(const std::string& AColuna) const;
  // Saídas por data do lançamento: a ostensiva lança em nome da SCP (CODIGOESTABSCP).
  std::string GetFiltroEstabSCP() const;
  TParams GetParams() const;

  // Créditos do ativo.
  static bool EhCSTValidaParaGerarCredito(int ACst);
  static std::string GetTipoCreditoBem(int ATipoDaconCredito);
  void InserirCreditoBem(const TnPatCreditoDacon& AItem, int16_t AImposto);

  // Acumulação por chave. A linha nova leva DataTotal = FDataInicial (ou a data dada, no caminho dos
  // totais já apurados).
  void InserirRecTotal(TDateTime ADataTotal = 0);
  void LimparRecTotal();

  // Roda a fonte: reexecuta o dataset quando o texto é o mesmo, senão o libera e executa.
  void GerarMovimento(std::unique_ptr<TnClientDataSet>& ADataSet, const std::string& ASQL);

  // Configuração e datasets.
  int32_t FCodigoEmpresa = 0;
  std::string FCodigoEstab;
  TDateTime FDataInicial = 0;
  TDateTime FDataFinal = 0;
  bool FRegimeCaixa = false;
  bool FProcessarCredito = false;
  bool FProcessarDebito = false;
  TReceitas FReceitas{rTributadas};
  bool FDacon = false;
  bool FModoApuracao = false;
  TMapEntCreditoBem FMapCreditoBem;
  TMapTotal FMapTotal;
  TRecTotal FRecTotal;
  std::unique_ptr<TnClientDataSet> FcurEntradaLcto, FcurEntEstoqAbert, FcurEntDemaisDoc, FcurSaidaLcto,
      FcurSaidaExclu, FcurSaidaImob, FcurSaidaDemaisDoc, FcurEntCreditoBem, FcurEntImobCustoOrc,
      FcurEntImobCustoInc, FcurTotalMov;
  TTipoTotal FTipoTotal = TTipoTotal::tnTotalEFD;

 private:
  void PrepararTotal();
  void CriarEntCreditoBem();
  // Soma as linhas de uma fonte no total; a função monta o registro de cada linha.
  template <class TMapa, class F>
  void Acumular(TnClientDataSet& ADataSet, F AMontar);
};
