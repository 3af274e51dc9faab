#pragma once
// Bloco F (demais documentos e operações): textos SQL e carga dos registros.
// Os quatro textos de receita por caixa/competência (F500, F525, F525 caixa, F550) são
// virtuais de um objeto sem estado: o host escolhe o detalhado ou o consolidado.
#include <string>
#include <vector>

#include "blocks/nArqRepositorioSPEDPisCofinsBase_U.h"

class TnArqRepositorioSPEDPisCofinsBlocoF : public TnArqRepositorioSPEDPisCofinsBase {
 public:
  using TParans = TnParansBlocoF;

  virtual ~TnArqRepositorioSPEDPisCofinsBlocoF() = default;

  // Textos que variam entre detalhado e consolidado (nesta ordem).
  virtual std::string GetSqlF500(const TnParansBlocoF& AParans) const = 0;
  virtual std::string GetSqlF525(const TnParansBlocoF& AParans) const = 0;
  virtual std::string GetSqlF525RegCaixa(const TnParansBlocoF& AParans) const = 0;
  virtual std::string GetSqlF550(const TnParansBlocoF& AParans) const = 0;

  // Estabelecimento do bloco F: "0", vazio ou texto não numérico é lista de inclusão.
  static bool EhEstabInclusion(const std::string& ACodigo);
  static std::string GetFiltroEstab(const TnParansBlocoF& AParans, const std::string& AColuna);
  static std::string GetFiltroEstabSCP(const TnParansBlocoF& AParans);
  static TParams GetParamsEstabData(const TnParansBlocoF& AParans);
  // Copia os valores e, se o código não for lista, insere o estabelecimento na posição.
  static TParams MontarParamEstab(const std::vector<TVariant>& AValores, int AHighIndex, const std::string& ACodigo,
                                  int APosicao);

  // Expressões comuns.
  static std::string GetFiltroCFOP(const TnParansBlocoF& AParans, const std::string& AColunaModelo,
                                   const std::string& AColunaCFOP);
  static std::string GetFiltroCDModeloF500(const std::string& AColunaModelo);
  static std::string GetNaoEhDetalhada(const TnParansBlocoF& AParans);
  static std::string GetFiltroPorAliq(const std::string& AColunaCST);
  static std::string GetFiltroPorQtde(const std::string& AColunaCST, const std::string& AColunaDebito);
  static std::string GetSqlContaCTBLCTO(const std::string& ARegra, const std::string& AColunaConta);
  static std::string GetSubSelectTotalParcelasF500(const TnParansBlocoF& AParans);

  // Textos dos registros comuns às duas variantes.
  static std::string GetSqlF100(const TnParansBlocoF& AParans);
  static std::string GetSqlOBSF100(const TnParansBlocoF& AParans);
  static std::string GetSqlF111(const TnParansBlocoF& AParans);
  static std::string GetSqlF120(const TnParansBlocoF& AParans);
  static std::string GetSqlF130(const TnParansBlocoF& AParans);
  static std::string GetSqlF150(const TnParansBlocoF& AParans);
  static std::string GetSqlF200(const TnParansBlocoF& AParans);
  static std::string GetSqlF205(const TnParansBlocoF& AParans);
  static std::string GetSqlF210(const TnParansBlocoF& AParans);
  static std::string GetSqlF500RegCaixa(const TnParansBlocoF& AParans);
  static std::string GetSqlF509(const TnParansBlocoF& AParans);
  static std::string GetSqlF510(const TnParansBlocoF& AParans);
  static std::string GetSqlF519(const TnParansBlocoF& AParans);
  static std::string GetSqlF559(const TnParansBlocoF& AParans);
  static std::string GetSqlF560(const TnParansBlocoF& AParans);
  static std::string GetSqlF569(const TnParansBlocoF& AParans);
  static std::string GetSqlF600(const TnParansBlocoF& AParans);
  static std::string GetSqlF700(const TnParansBlocoF& AParans);
  static std::string GetSqlF800(const TnParansBlocoF& AParans);

  // Vetores de valores com posição própria do estabelecimento.
  static TParams GetParamsF130(const TnParansBlocoF& AParans);
  static TParams GetParamsF150(const TnParansBlocoF& AParans);
  static TParams GetParamsF600(const TnParansBlocoF& AParans);

  // Pontos de entrada (datasets do cache de SQL do host).
  static void CarregarDadosF100(TnClientDataSet*& ADataSet, const TnParansBlocoF& AParans);
  static void CarregarDadosObsF100(TnClientDataSet*& ADataSet, const TnParansBlocoF& AParans);
  static void CarregarDadosF111(TnClientDataSet*& ADataSet, const TnParansBlocoF& AParans);
  static void CarregarDadosF120(TDataSet*& ADataSet, const TnParansBlocoF& AParans);
  static void CarregarDadosF130(TDataSet*& ADataSet, const TnParansBlocoF& AParans);
  static void CarregarDadosF150(TDataSet*& ADataSet, const TnParansBlocoF& AParans);
  static void CarregarDadosF200(TDataSet*& ADataSet, const TnParansBlocoF& AParans);
  static void CarregarDadosF205(TnClientDataSet*& ADataSet, const TnParansBlocoF& AParans);
  static void CarregarDadosF210(TnClientDataSet*& ADataSet, const TnParansBlocoF& AParans);
  void CarregarDadosF500(TDataSet*& ADataSet, const TnParansBlocoF& AParans) const;
  static void CarregarDadosF500RegCaixa(TDataSet*& ADataSet, const TnParansBlocoF& AParans);
  static void CarregarDadosF509(TnClientDataSet*& ADataSet, const TnParansBlocoF& AParans);
  static void CarregarDadosF510(TDataSet*& ADataSet, const TnParansBlocoF& AParans);
  static void CarregarDadosF519(TnClientDataSet*& ADataSet, const TnParansBlocoF& AParans);
  void CarregarDadosF525(TnClientDataSet*& ADataSet, const TnParansBlocoF& AParans) const;
  void CarregarDadosF525RegCaixa(TnClientDataSet*& ADataSet, const TnParansBlocoF& AParans) const;
  void CarregarDadosF550(TDataSet*& ADataSet, const TnParansBlocoF& AParans) const;
  static void CarregarDadosF559(TnClientDataSet*& ADataSet, const TnParansBlocoF& AParans);
  static void CarregarDadosF560(TDataSet*& ADataSet, const TnParansBlocoF& AParans);
  static void CarregarDadosF569(TnClientDataSet*& ADataSet, const TnParansBlocoF& AParans);
  static void CarregarDadosF600(TnClientDataSet*& ADataSet, const TnParansBlocoF& AParans);
  static void CarregarDadosF700(TnClientDataSet*& ADataSet, const TnParansBlocoF& AParans);
  static void CarregarDadosF800(TnClientDataSet*& ADataSet, const TnParansBlocoF& AParans);

  // Junção à esquerda com o primeiro complemento (LC) do lançamento de saída L (também do bloco 1).
  static std::string GetJoinPrimeiroComplemento();

 protected:
  // Pedaços compartilhados pelas variantes detalhada e consolidada.
  static std::string SufixoF(const TnParansBlocoF& AParans) { return Sufixo(AParans.TipoMovimento); }
  // " FROM" dos pagamentos do período com duplicata, total das parcelas (DP), lançamento de
  // saída (L), PIS/COFINS (LPC) e estabelecimento (F): parâmetros empresa, estab, início, fim.
  static std::string GetFromPagamentosF500(const TnParansBlocoF& AParans);
  // Rateio pelo pagamento (valor pago mais desconto sobre o total das parcelas).
  static std::string RateioPagamento(const std::string& AColuna, const std::string& AApelido);
  // F500 do regime de caixa: o detalhado traz o complemento do primeiro lançamento (LC) e
  // filtra pela alíquota do CST do PIS; o consolidado deixa o complemento nulo e usa o CST
  // da COFINS.
  static std::string GetSqlF500Pagamentos(const TnParansBlocoF& AParans, bool ADetalhado);
};
