#pragma once
// Base de todo gerador de registro do Bloco M: árvore de filhos, ordem fixa dos ganchos,
// redação dos erros, chaves, filtros e parâmetros comuns e o código do tipo de crédito.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "blocom/control/nFisEFDGeradorBlocoMConfig_U.h"
#include "host/DataSet.h"
#include "base/Variant.h"

class TnFisEFDControleBlocoM;
class TnFisEFDControleCredito;
class TnFisEFDExtraApuracao;

class TnFisEFDGeradorBlocoM {
 public:
  // Construção em duas fases: o construtor não pode chamar a virtual que a subclasse
  // sobrescreve, então Criar monta o objeto e só depois cria os filhos.
  template <class T, class... Args>
  static std::unique_ptr<T> Criar(TnFisEFDControleBlocoM& AControle, int16_t AImposto, Args&&... args) {
    auto g = std::make_unique<T>(AControle, AImposto, std::forward<Args>(args)...);
    g->AfterConstruction();
    return g;
  }

  TnFisEFDGeradorBlocoM(TnFisEFDControleBlocoM& AControle, int16_t AImposto);
  virtual ~TnFisEFDGeradorBlocoM();
  TnFisEFDGeradorBlocoM(const TnFisEFDGeradorBlocoM&) = delete;
  TnFisEFDGeradorBlocoM& operator=(const TnFisEFDGeradorBlocoM&) = delete;

  // Carrega, processa os filhos e os libera; um gerador é processado uma vez.
  void ProcessarRegistro();

  virtual void AntesCarregarDados() {}
  virtual void CarregarDados() = 0;
  virtual void DepoisCarregarDados() {}
  virtual void DepoisCarregarDadosFilhos() {}
  virtual void CriarGeradoresFilhos() {}
  virtual int GetTipoApuracao(int AValor);
  virtual std::string GetNomeRegistro() = 0;
  // Liberação de recursos do gerador antes de ser destruído pelo pai; pode falhar.
  virtual void Finalizar() {}

  int16_t Imposto() const { return FImposto; }
  const std::vector<TnFisEFDGeradorBlocoM*>& Filhos() const { return FLstRegFilhoView; }

  // Código do tipo de crédito (tabela 4.3.6): dígito do regime + classe da alíquota.
  static bool EhAliqBasica(double AAliquota);
  static std::string GetTipoCreditoRegime(int ACst);
  static std::string GetTipoCreditoAliquota(const std::string& ACfop, const std::string& ATabela, int ACst,
                                            double AAliquota, int ADaconTipoReceita);
  static std::string GetTipoCreditoMestre(int ACst, const std::string& ATabela, double AAliquota,
                                          const std::string& ACfop, int ADaconTipoReceita);
  static std::string GetTipoCreditoReceita(const std::string& ACodigo, int ACampo);
  static std::string MontarChave(int64_t AValor);

  // Entrega um aviso ao DoAviso da execução ou, sem ele, ao stderr ("pisco: aviso: ...").
  void Avisar(const std::string& AMensagem) const;
  // Empresa, e a SCP ou o estabelecimento da execução, para começar um aviso.
  std::string Onde() const;
  std::string OndePeriodo() const;  // Onde() e o mês da execução

 protected:
  void AfterConstruction();
  void AddGeradorFilho(std::unique_ptr<TnFisEFDGeradorBlocoM> AFilho);
  template <class T, class... Args>
  T& CriarFilho(Args&&... args) {
    auto filho = Criar<T>(*FControleBlocoM, FImposto, std::forward<Args>(args)...);
    T& ref = *filho;
    AddGeradorFilho(std::move(filho));
    return ref;
  }
  void CarregarDadosFilhos();
  void DestruirObjetos();

  // Contexto da execução.
  TnFisEFDControleBlocoM& Controle() { return *FControleBlocoM; }
  int32_t GetCodigoEmpresa() const;
  std::string GetCodigoEstab() const;
  TDateTime GetDataInicial() const;
  TDateTime GetDataFinal() const;
  bool GetRegimeCaixa() const;
  TModoGeracao GetModoGeracao() const;
  const TConfigBlocoM& GetConfigBlocoM() const;
  // Controle de créditos e retidos da execução (carregado para os optantes da EFD).
  TnFisEFDControleCredito& GetControleCredito();
  // Ajustes da base rateados por CST e por alíquota (M215/M615).
  TnFisEFDExtraApuracao& GetExtraApuracao();

  // Padrão das variantes EFD, que copiam os totais já apurados (tabelas TOTALEFD...):
  // empresa inteira lê a tabela sem sufixo; filial e SCP, a gêmea ...ESTAB.
  std::string GetTabelaTotalEFD(const std::string& ATabela) const;
  std::string GetCondEstabTotalEFD() const;
  TParams GetParamsTotalEFD() const;
  // " SELECT " + campos + " FROM " + tabela + condições da família + complemento.
  std::string GetSqlTotalEFD(const std::string& ACampos, const std::string& ATabela,
                             const std::string& AComplemento = "") const;
  std::string GetTipoImposto() const { return FImposto == 15 ? "PIS" : "COFINS"; }

  // Consultas.
  std::unique_ptr<TDataSet> ExecutarSQLInt(const std::string& ASQL, const TParams& AValores, bool AFlag1,
                                           bool AFlag2, int ANumero);
  std::string GetFilterEstab(const std::string& APrefixo) const;
  TParams GetFiltroEmpresaPeriodo() const;

  // Proporção do crédito por CST.
  static int NormalizarCampoProporcao(int ACampo);
  double GetProporcao(int ACst, int ACampo);
  double GetProporcao2(int ACst, int ACampo);
  double GetProporcao(int ACst);
  double GetProporcao(int ACst, const std::string& ATexto);
  double GetProporcao2(int ACst, const std::string& ATexto);
  static int CampoPorTexto(const std::string& ATexto);

  TnFisEFDControleBlocoM* FControleBlocoM;
  int16_t FImposto;

 private:
  std::vector<std::unique_ptr<TnFisEFDGeradorBlocoM>> FLstRegFilho;
  std::vector<TnFisEFDGeradorBlocoM*> FLstRegFilhoView;
  bool FProcessado = false;
};
