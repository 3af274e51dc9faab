#pragma once
// Registros do Bloco M (M001 a M810), as listas com chave que os guardam e a soma de
// árvores de apurações diferentes (Totalizar).
//
// Posse: cada registro é dono das suas listas e dos filhos guardados nelas; a lista com chave
// é dona dos registros que recebe. Os vínculos de volta (M200 -> lista de créditos, M211 ->
// M210) não são donos.
#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/DateTime.h"
#include "base/Erros.h"
#include "base/Variant.h"

// Tipo de apuração: chave dos mapas de M001. Só 0, 62, 63 e 99 ocorrem.
enum class TTipoApuracao : uint8_t {
  taNormal = 0,
  ta62 = 62,
  ta63 = 63,
  taEFD = 99,  // totais copiados das tabelas já apuradas
};

class EItemNaoEncontrado : public EPisco {
  using EPisco::EPisco;
};
class EChaveDuplicada : public EPisco {
  using EPisco::EPisco;
};

// Mapa de chave texto para registro, com visão ordenada pela chave e cursor.
// A enumeração direta (begin/end) segue a ordem de inclusão; GetListaOrdenada e o cursor
// seguem a ordem dos bytes da chave ("100000" antes de "90000").
//
// A chave fica guardada uma vez só, junto do registro. Listas pequenas (a maioria: um
// detalhe por ajuste) são procuradas em sequência; o índice por posição só nasce quando a
// lista cresce. Um bloco com um ajuste por documento devolvido tem dezenas de milhares de
// registros, e cada byte por registro conta três vezes (apurações, total e cópia da saída).
template <class T>
class TBlocoMList {
 public:
  using TItem = std::pair<std::string, std::unique_ptr<T>>;

  TBlocoMList() = default;
  TBlocoMList(const TBlocoMList&) = delete;
  TBlocoMList& operator=(const TBlocoMList&) = delete;

  // Inclui o registro; lança EChaveDuplicada se a chave já existe.
  T& Add(const std::string& AChave, std::unique_ptr<T> ARegistro) {
    if (!ARegistro) throw EPisco("Registro nulo incluído na lista: " + AChave);
    if (Procurar(AChave) != kNenhum) throw EChaveDuplicada("Chave duplicada: " + AChave);
    const auto pos = static_cast<uint32_t>(FItens.size());
    FItens.emplace_back(AChave, std::move(ARegistro));
    if (FIndice) {
      FIndice->insert(pos);
    } else if (FItens.size() > kLimiteSequencial) {
      FIndice = std::make_unique<TIndice>(TMenorChave{&FItens});
      for (uint32_t i = 0; i < FItens.size(); ++i) FIndice->insert(i);
    }
    return *FItens.back().second;
  }
  // Registro da chave; lança EItemNaoEncontrado se não existe.
  T& Items(const std::string& AChave) {
    const uint32_t pos = Procurar(AChave);
    if (pos == kNenhum) throw EItemNaoEncontrado("Item não encontrado: " + AChave);
    return *FItens[pos].second;
  }
  const T& Items(const std::string& AChave) const {
    return const_cast<TBlocoMList*>(this)->Items(AChave);
  }
  // Registro da chave ou nullptr.
  T* TryGetValue(const std::string& AChave) {
    const uint32_t pos = Procurar(AChave);
    return pos == kNenhum ? nullptr : FItens[pos].second.get();
  }
  const T* TryGetValue(const std::string& AChave) const {
    return const_cast<TBlocoMList*>(this)->TryGetValue(AChave);
  }
  bool ContainsKey(const std::string& AChave) const { return Procurar(AChave) != kNenhum; }
  int Count() const { return static_cast<int>(FItens.size()); }
  bool Vazia() const { return FItens.empty(); }

  // Ordem de inclusão (determinística).
  auto begin() const { return FItens.begin(); }
  auto end() const { return FItens.end(); }

  // Registros pela ordem das chaves; refeita quando a contagem mudou desde a última montagem.
  const std::vector<T*>& GetListaOrdenada() const {
    if (FListaOrdenada.size() != FItens.size()) {
      FListaOrdenada.clear();
      FListaOrdenada.reserve(FItens.size());
      if (FIndice) {
        for (uint32_t pos : *FIndice) FListaOrdenada.push_back(FItens[pos].second.get());
      } else {
        std::vector<uint32_t> ordem(FItens.size());
        for (uint32_t i = 0; i < ordem.size(); ++i) ordem[i] = i;
        std::sort(ordem.begin(), ordem.end(), TMenorChave{&FItens});
        for (uint32_t pos : ordem) FListaOrdenada.push_back(FItens[pos].second.get());
      }
    }
    return FListaOrdenada;
  }

  // Cursor sobre a visão ordenada.
  void First() { FIndex = 0; }
  void Next() {
    if (FIndex < Count()) ++FIndex;
  }
  bool Eol() const { return FIndex >= Count(); }
  int Index() const { return FIndex; }
  // nullptr na lista vazia; depois do fim, o último registro.
  T* Atual() const {
    const auto& lista = GetListaOrdenada();
    if (lista.empty()) return nullptr;
    return FIndex < Count() ? lista[FIndex] : lista.back();
  }

 private:
  static constexpr uint32_t kNenhum = UINT32_MAX;
  static constexpr size_t kLimiteSequencial = 8;

  // Compara posições de FItens pela chave; aceita a chave procurada dos dois lados.
  struct TMenorChave {
    using is_transparent = void;
    const std::vector<TItem>* Itens;
    std::string_view Chave(uint32_t APos) const { return (*Itens)[APos].first; }
    static std::string_view Chave(std::string_view AChave) { return AChave; }
    template <class A, class B>
    bool operator()(const A& AEsq, const B& ADir) const {
      return Chave(AEsq) < Chave(ADir);
    }
  };
  using TIndice = std::set<uint32_t, TMenorChave>;

  uint32_t Procurar(std::string_view AChave) const {
    if (FIndice) {
      auto it = FIndice->find(AChave);
      return it == FIndice->end() ? kNenhum : *it;
    }
    for (uint32_t i = 0; i < FItens.size(); ++i)
      if (FItens[i].first == AChave) return i;
    return kNenhum;
  }

  std::vector<TItem> FItens;         // donos, na ordem de inclusão, cada um com sua chave
  std::unique_ptr<TIndice> FIndice;  // posições pela ordem das chaves; só nas listas grandes
  int FIndex = 0;
  mutable std::vector<T*> FListaOrdenada;
};

// ---------------------------------------------------------------------------------------
// M115/M515 e M225/M625: detalhe de um ajuste.
class TM115_515_225_625AjusteCredDet {
 public:
  double DET_VALOR_AJ = 0;
  int CST = 0;
  double DET_BC_CRED = 0;
  double DET_ALIQ = 0;
  std::string DT_OPER_AJ;
  std::string DESC_AJ;
  std::string COD_CTA;
  std::string INFO_COMPL;
};

class TM115_515_225_625AjusteCredDetList : public TBlocoMList<TM115_515_225_625AjusteCredDet> {
 public:
  void Totalizar(const TM115_515_225_625AjusteCredDetList& AOrigem);
  // Detalhe lançado: soma base e valor ao de mesma chave (CST, data, descrição, conta e
  // complemento) ou entra como novo. ARec é o registro de trabalho do M115 ou do M225.
  template <class TRec>
  void SomarDetalhe(const TRec& ARec) {
    const std::string chave = std::to_string(ARec.CST) + "|" + ARec.DT_OPER_AJ + "|" + ARec.DESC_AJ + "|" +
                              ARec.COD_CTA + "|" + ARec.INFO_COMPL;
    if (auto* det = TryGetValue(chave)) {
      det->DET_BC_CRED += ARec.DET_BC_CRED;
      det->DET_VALOR_AJ += ARec.DET_VALOR_AJ;
      return;
    }
    auto det = std::make_unique<TM115_515_225_625AjusteCredDet>();
    det->DET_VALOR_AJ = ARec.DET_VALOR_AJ;
    det->CST = ARec.CST;
    det->DET_BC_CRED = ARec.DET_BC_CRED;
    det->DET_ALIQ = ARec.DET_ALIQ;
    det->DT_OPER_AJ = ARec.DT_OPER_AJ;
    det->DESC_AJ = ARec.DESC_AJ;
    det->COD_CTA = ARec.COD_CTA;
    det->INFO_COMPL = ARec.INFO_COMPL;
    Add(chave, std::move(det));
  }
};

// M110/M510 e M220/M620: ajuste de crédito ou de contribuição.
class TM110_510_220_620AjusteCredImp {
 public:
  TM115_515_225_625AjusteCredDetList FM115_515_225_625List;
  std::string FIND_AJ;  // "0" redução, "1" acréscimo
  double FVL_AJ = 0;
  std::string FCOD_AJ;
  std::string FNUM_DOC;
  std::string FDESCR_AJ;
  std::string FDT_REF;
  bool FAjusteSCP = false;
  std::string FCOD_CTA;

  // Com detalhes, vale a soma deles e o valor gravado é ignorado.
  double GetVL_AJ() const;
};

class TM110_510_220_620AjusteCredImpList : public TBlocoMList<TM110_510_220_620AjusteCredImp> {
 public:
  void Totalizar(const TM110_510_220_620AjusteCredImpList& AOrigem);
};

// M105/M505: detalhe da base de cálculo do crédito.
class TM105_505DetalheBCCredito {
 public:
  std::string FNAT_BC_CRED;
  std::string FNAT_BC_CRED2;
  int FCST = 0;
  double FVL_BC_TOT = 0;
  double FVL_BC_CUM = 0;
  double FVL_BC = 0;
  double FQUANT_BC_TOT = 0;
  double FQUANT_BC = 0;
  std::string FDESC_CRED;

  double GetVL_BC_NC() const { return FVL_BC_TOT - FVL_BC_CUM; }
  // CSTs 50, 51, 60, 61 e 62 usam a parte não cumulativa; os demais, o valor gravado.
  double GetVL_BC() const;
};

class TM105_505DetalheBCCreditoList : public TBlocoMList<TM105_505DetalheBCCredito> {
 public:
  void Totalizar(const TM105_505DetalheBCCreditoList& AOrigem);
};

// M100/M500: crédito de um tipo, alíquota e origem.
class TM100_500CreditoImposto {
 public:
  TM105_505DetalheBCCreditoList FM105_505List;
  TM110_510_220_620AjusteCredImpList FM110_510List;
  std::string FCOD_CRED;
  int FIND_CRED_ORI = 0;  // 1 = recebido em evento societário
  double FALIQ = 0;
  double FALIQ_QUANT = 0;
  double FVL_CRED = 0;
  double FVL_CRED_DIF = 0;
  double FVL_CRED_DESC = 0;

  double GetVL_BC() const;
  double GetQUANT_BC() const;
  double GetVL_CRED() const;
  double GetVL_AJUS_ACRES() const;
  double GetVL_AJUS_REDUC() const;
  double GetVL_CRED_DISP() const;
  double GetSLD_CRED() const;
  bool GetIND_DESC_CRED() const;  // true = utilização parcial
};

class TM100_500CreditoImpostoList : public TBlocoMList<TM100_500CreditoImposto> {
 public:
  void Totalizar(const TM100_500CreditoImpostoList& AOrigem);
};

// M205/M605: contribuição a recolher por código de receita.
class TM205_605ContribRecolher {
 public:
  std::string NUM_CAMPO;
  std::string COD_REC;
  double VL_DEBITO = 0;
  bool DebitoSCP = false;
};

class TM205_605ContribRecolherList : public TBlocoMList<TM205_605ContribRecolher> {
 public:
  void Totalizar(const TM205_605ContribRecolherList& AOrigem);
};

// M215/M615: ajuste da base de cálculo da contribuição.
class TM215_615AjusteBCContribPIS {
 public:
  double FVL_AJ_BC = 0;
  std::string FCNPJ;
  std::string FDT_REF;
  std::string FDESCR_AJ_BC;
  int FIND_AJ_BC = 0;  // 0 redução, 1 acréscimo
  std::string FNUM_DOC;
  std::string FINFO_COMPL;
  std::string FCOD_AJ_BC;
  std::string FCOD_CTA;
};

class TM215_615AjusteBCContribPISList : public TBlocoMList<TM215_615AjusteBCContribPIS> {
 public:
  void Totalizar(const TM215_615AjusteBCContribPISList& AOrigem);
};

// M230/M630: informações adicionais de diferimento.
class TM230_630InfAdicDiferido {
 public:
  std::string FCNPJ;
  double FVL_VEND = 0;
  double FVL_NAO_RECEB = 0;
  double FVL_CONT_DIF = 0;
  double FVL_CRED_DIF = 0;
  std::string FCOD_CRED;
};

class TM230_630InfAdicDiferidoList : public TBlocoMList<TM230_630InfAdicDiferido> {
 public:
  void Totalizar(const TM230_630InfAdicDiferidoList& AOrigem);
};

// M300/M700: contribuição diferida em períodos anteriores.
class TM300_700DiferidoPerAnt {
 public:
  std::string FCOD_CONT;
  double FVL_CONT_APUR_DIFER = 0;
  std::string FNAT_CRED_DESC;
  double FVL_CRED_DESC_DIFER = 0;
  std::string FPER_APUR;  // "MMAAAA"
  TDateTime FDT_RECEB = 0;

  double GetVL_CONT_DIFER_ANT() const { return FVL_CONT_APUR_DIFER - FVL_CRED_DESC_DIFER; }
};

class TM300_700DiferidoPerAntList : public TBlocoMList<TM300_700DiferidoPerAnt> {
 public:
  void Totalizar(const TM300_700DiferidoPerAntList& AOrigem);
};

class TM210_610DetalheContrib;

// M211/M611: composição da base das cooperativas.
class TM211_611CoopComposBC {
 public:
  explicit TM211_611CoopComposBC(TM210_610DetalheContrib* AM210_610) : FM210_610(AM210_610) {}
  TM211_611CoopComposBC(const TM211_611CoopComposBC&) = delete;
  TM211_611CoopComposBC& operator=(const TM211_611CoopComposBC&) = delete;

  TM210_610DetalheContrib* FM210_610;  // não é dono
  int FIND_TIP_COOP = 0;
  double FVL_EXC_COOP_GER = 0;
  double FVL_EXC_ESP_COOP = 0;
  double FVL_BC_CONT_ANT_EXC_COOP = 0;

  double GetVL_BC_CONT() const {
    return FVL_BC_CONT_ANT_EXC_COOP - FVL_EXC_COOP_GER - FVL_EXC_ESP_COOP;
  }
  void Totalizar(const TM211_611CoopComposBC& AOrigem);
};

// M210/M610: contribuição de um código e alíquota.
class TM210_610DetalheContrib {
 public:
  TM210_610DetalheContrib() = default;
  TM210_610DetalheContrib(const TM210_610DetalheContrib&) = delete;
  TM210_610DetalheContrib& operator=(const TM210_610DetalheContrib&) = delete;

  std::unique_ptr<TM211_611CoopComposBC> FM211_611;  // o M210 é dono do seu M211
  TM215_615AjusteBCContribPISList FM215_615List;
  TM110_510_220_620AjusteCredImpList FM220_620List;
  TM230_630InfAdicDiferidoList FM230_630List;
  TM300_700DiferidoPerAntList FM300_700List;
  std::string FCOD_CONT;
  double FVL_REC_BRT = 0;
  double FVL_BC_CONT = 0;
  double FALIQ = 0;
  double FQUANT_BC = 0;
  double FALIQ_QUANT = 0;
  double FVlBctNCompCred = 0;
  double FVlBctNCompRet = 0;

  // Cria (ou troca) o M211 ligado a este M210.
  TM211_611CoopComposBC& CriarM211_611();

  double GetVlContNCompCred() const { return FVlBctNCompCred * FALIQ / 100; }
  double GetVlContNCompRet() const { return FVlBctNCompRet * FALIQ / 100; }
  double GetVL_BC_CONT() const;
  double GetVL_AJUS_ACRES_BC_PIS() const;
  double GetVL_AJUS_REDUC_BC_PIS() const;
  double GetVL_BC_CONT_AJUS() const;
  double GetVL_CONT_APUR() const;
  double GetVL_AJUS_ACRES() const;
  double GetVL_AJUS_REDUC() const;
  double GetVL_CONT_DIFER() const;
  double GetVL_CONT_DIFER_ANT() const;
  double GetVL_CONT_PER() const;
};

class TM210_610DetalheContribList : public TBlocoMList<TM210_610DetalheContrib> {
 public:
  void Totalizar(const TM210_610DetalheContribList& AOrigem);
};

// M200/M600: consolidação da contribuição do período.
class TM200_600ConsolidContribImposto {
 public:
  // A lista de créditos (M100 para o M200, M500 para o M600) é do mesmo M001; não é dono.
  explicit TM200_600ConsolidContribImposto(const TM100_500CreditoImpostoList* AListaCredito)
      : FListaCredito(AListaCredito) {}
  TM200_600ConsolidContribImposto(const TM200_600ConsolidContribImposto&) = delete;
  TM200_600ConsolidContribImposto& operator=(const TM200_600ConsolidContribImposto&) = delete;

  TM205_605ContribRecolherList FM205_605List;
  TM210_610DetalheContribList FM210_610List;
  const TM100_500CreditoImpostoList* FListaCredito;
  double FVL_TOT_CRED_DESC_ANT = 0;
  double FVL_RET_NC = 0;
  double FVL_OUT_DED_NC = 0;
  double FVL_RET_CUM = 0;
  double FVL_OUT_DED_CUM = 0;
  double FVL_DIFERIDO_CUM = 0;
  double FVL_DIFERIR_CUM = 0;

  double GetVL_TOT_CONT_NC_PER() const;
  double GetVL_TOT_CRED_DESC() const;
  double GetVL_TOT_CONT_NC_DEV() const;
  double GetVL_CONT_NC_REC() const;
  double GetVL_TOT_CONT_CUM_PER() const;
  double GetVL_CONT_CUM_REC() const;
  double GetVL_TOT_CONT_REC() const;
  double GetRecNaoCompCred() const;
  double GetRecNaoCompRet() const;

  void Totalizar(const TM200_600ConsolidContribImposto& AOrigem);
};

// M350: PIS sobre a folha de salários.
class TM350FolhaSalarioPIS {
 public:
  double VL_TOT_FOL = 0;
  double VL_EXC_BC = 0;
  double VL_TOT_BC = 0;
  double ALIQ_PIS_FOL = 0;
  double VL_TOT_CONT_FOL = 0;

  // Copia (não soma) os valores da origem.
  void Totalizar(const TM350FolhaSalarioPIS& AOrigem);
};

// M410/M810: detalhe da receita isenta ou não tributada.
class TM410_810DetalRecIsenta {
 public:
  std::string NAT_REC;
  double VL_REC = 0;
  std::string COD_CTA;
  std::string DESC_COMPL;
  std::string TipoDebito;
};

class TM410_810DetalRecIsentaList : public TBlocoMList<TM410_810DetalRecIsenta> {
 public:
  void Totalizar(const TM410_810DetalRecIsentaList& AOrigem);
};

// M400/M800: receita isenta ou não tributada por CST.
class TM400_800ReceitaIsenta {
 public:
  TM410_810DetalRecIsentaList FM410_810List;
  std::string FCOD_CTA;
  int FCST = 0;
  std::string FDESC_COMPL;

  double GetVL_TOT_REC() const;
};

class TM400_800ReceitaIsentaList : public TBlocoMList<TM400_800ReceitaIsenta> {
 public:
  void Totalizar(const TM400_800ReceitaIsentaList& AOrigem);
};

// M001: abertura do bloco; raiz da árvore de uma apuração.
class TM001AberturaBloco {
 public:
  TM001AberturaBloco();
  TM001AberturaBloco(const TM001AberturaBloco&) = delete;
  TM001AberturaBloco& operator=(const TM001AberturaBloco&) = delete;

  // A ordem de declaração é a de construção: o M200 e o M600 nascem ligados às listas de
  // créditos já criadas.
  TM100_500CreditoImpostoList FM100List;
  std::unique_ptr<TM200_600ConsolidContribImposto> FM200;
  TM400_800ReceitaIsentaList FM400List;
  TM100_500CreditoImpostoList FM500List;
  std::unique_ptr<TM200_600ConsolidContribImposto> FM600;
  TM400_800ReceitaIsentaList FM800List;
  std::unique_ptr<TM350FolhaSalarioPIS> FM350;  // vazio até um gerador criá-lo

  // Soma outra árvore nesta: M100, M200, M350, M400, M500, M600, M800.
  void Totalizar(const TM001AberturaBloco& AOrigem);
};

// M001 de cada tipo de apuração de uma execução (ordem crescente do tipo).
using TMapaAberturaBloco = std::map<TTipoApuracao, std::unique_ptr<TM001AberturaBloco>>;

// ---------------------------------------------------------------------------------------
// Segunda família: registros planos das contribuições, sem valores calculados.

// Lista dona dos seus membros, acessada por posição.
template <class T>
class TnRegistroList {
 public:
  TnRegistroList() = default;
  TnRegistroList(const TnRegistroList&) = delete;
  TnRegistroList& operator=(const TnRegistroList&) = delete;

  T& Add(std::unique_ptr<T> ARegistro) {
    if (!ARegistro) throw EPisco("Registro nulo incluído na lista");
    FItens.push_back(std::move(ARegistro));
    return *FItens.back();
  }
  T& GetObject(int AIndice) const {
    if (AIndice < 0 || AIndice >= Count())
      throw EItemNaoEncontrado("Índice fora da lista: " + std::to_string(AIndice));
    return *FItens[static_cast<size_t>(AIndice)];
  }
  int Count() const { return static_cast<int>(FItens.size()); }
  auto begin() const { return FItens.begin(); }
  auto end() const { return FItens.end(); }

 private:
  std::vector<std::unique_ptr<T>> FItens;
};

class TnRegistroM211_M611 {
 public:
  double FVLEXCCOOPGER = 0;
  double FVLEXCESPCOOP = 0;
  int FINDTIPCOOP = 99;
  double FVLBCCONTANTEXCCOOP = 0;
  double FVLBCCONT = 0;
};

class TnRegistroM215_M615 {
 public:
  std::string FNUMDOC;
  std::string FCNPJ;
  std::string FINFOCOMPL;
  std::string FCODCTA;
  std::string FDESCRAJBC;
  int FINDAJBC = 0;
  std::string FCODAJBC;
  double FVLAJBC = 0;
  std::string FDTREF;
  int FCST = 0;
};

class TnRegistroM220_M620 {
 public:
  std::string FNUMDOC;
  std::string FCODAJ;
  double FVLAJ = 0;
  TDateTime FDTREF = 0;
  std::string FDESCRAJ;
  int FINDAJ = 0;
};

class TnRegistroM230_M630 {
 public:
  std::string FCNPJ;
  double FVLVEND = 0;
  double FVLNAORECEB = 0;
  double FVLCONTDIF = 0;
  double FVLCREDDIF = 0;
  std::string FCODCRED;
};

class TnRegistroM300_M700 {
 public:
  std::string FCODCONT;
  std::string FNATCREDDESC;
  double FVLCONTDIFAPURDIFER = 0;
  double FVLCREDDESCDIFER = 0;
  double FVLCONTDIFERANT = 0;
  std::string FPERAPUR;
  TDateTime FDTRECEB = 0;
};

using TnRegistroM211_M611List = TnRegistroList<TnRegistroM211_M611>;
using TnRegistroM215_M615List = TnRegistroList<TnRegistroM215_M615>;
using TnRegistroM220_M620List = TnRegistroList<TnRegistroM220_M620>;
using TnRegistroM230_M630List = TnRegistroList<TnRegistroM230_M630>;
using TnRegistroM300_M700List = TnRegistroList<TnRegistroM300_M700>;

class TnRegistroM210_M610 {
 public:
  double FALIQQUANT = 0;
  double FVLCONTAPUR = 0;
  double FQUANTBC = 0;
  std::string FCODCONT = "54";
  double FVLRECBRT = 0;
  double FVLCONTPER = 0;
  double FVLCONTDIFER = 0;
  double FVLAJUSACRES = 0;
  double FVLCONTDIFERANT = 0;
  double FVLAJUSREDUC = 0;
  double FVLBCCONT = 0;
  double FALIQ = 0;
  bool FTemQuantidade = false;
  TnRegistroM211_M611List FRegistroM211_M611List;
  TnRegistroM215_M615List FRegistroM215_M615List;
  TnRegistroM220_M620List FRegistroM220_M620List;
  TnRegistroM230_M630List FRegistroM230_M630List;
};

using TnRegistroM210_M610List = TnRegistroList<TnRegistroM210_M610>;

class TnRegistroM200_M600 {
 public:
  double FVLTOTCONTNCPER = 0;
  double FVLCONTNCREC = 0;
  double FVLCONTCUMREC = 0;
  double FVLTOTCONTNCDEV = 0;
  double FVLRETNC = 0;
  double FVLRETCUM = 0;
  double FVLOUTDEDNC = 0;
  double FVLOUTDEDCUM = 0;
  double FVLTOTCREDDESC = 0;
  double FVLTOTCONTCUMPER = 0;
  double FVLTOTCONTREC = 0;
  double FVLTOTCREDDESCANT = 0;
  TnRegistroM210_M610List FRegistroM210_M610List;
};

// ---------------------------------------------------------------------------------------
// Registros de valor usados pelo repositório monolítico.

struct TDadosSCP {
  TDadosSCP(int ACODIGOESTAB, std::string AINSCRICAOSCP)
      : CODIGOESTAB(ACODIGOESTAB), INSCRICAOSCP(std::move(AINSCRICAOSCP)) {}
  int CODIGOESTAB;
  std::string INSCRICAOSCP;
};

struct TRecProporcReceita {
  TParams LstProporc;
  TParams LstReceita;
};
